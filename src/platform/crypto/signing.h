// Ed25519 keys and signatures in minisign's files, made and checked with
// libsodium.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "package/minisign_format.h"

namespace vmu::crypto {

struct SecretKey {
  package::KeyId id{};
  std::array<uint8_t, 64> key{};  // libsodium's form: seed + public key
};

struct KeyPair {
  package::PublicKey public_key;
  SecretKey secret_key;
};

KeyPair GenerateKeyPair();

// An unencrypted secret key file for the pair, as `minisign -G -W` writes it.
std::string UnencryptedSecretKeyFileText(const SecretKey& key);

// The secret key of a file; `password` is used only when the file is
// encrypted. Raises std::runtime_error for a wrong password or a damaged key.
SecretKey UnlockSecretKey(const package::SecretKeyFile& file, std::string_view password);

// The public half of a secret key.
package::PublicKey PublicKeyOf(const SecretKey& key);

// A prehashed ("ED") signature of the message whose BLAKE2b-512 is given.
package::SignatureFile SignPrehashed(const SecretKey& key, const std::array<uint8_t, 64>& message_hash,
                                     const std::string& untrusted_comment, const std::string& trusted_comment);

// Checks both signatures of a signature file against a key; `message` is
// the BLAKE2b-512 of the signed bytes for a prehashed signature, else the
// bytes themselves.
bool VerifySignature(const package::PublicKey& key, const package::SignatureFile& signature, std::string_view message);

}  // namespace vmu::crypto
