#include "platform/crypto/signing.h"

#include <sodium.h>

#include <algorithm>
#include <stdexcept>

#include "platform/crypto/hashing.h"

namespace vmu::crypto {

namespace {

void Initialise() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
}

// minisign's key checksum: BLAKE2b-256 of "Ed", the key id and the secret key.
std::array<uint8_t, 32> Checksum(const SecretKey& key) {
  Blake2b256 hash;
  hash.Update("Ed", 2);
  hash.Update(key.id.data(), key.id.size());
  hash.Update(key.key.data(), key.key.size());
  return hash.Digest();
}

}  // namespace

KeyPair GenerateKeyPair() {
  Initialise();
  KeyPair pair;
  crypto_sign_keypair(pair.public_key.key.data(), pair.secret_key.key.data());
  randombytes_buf(pair.secret_key.id.data(), pair.secret_key.id.size());
  pair.public_key.id = pair.secret_key.id;
  return pair;
}

std::string UnencryptedSecretKeyFileText(const SecretKey& key) {
  // As `minisign -G -W` writes it: no scrypt parameters, and a checksum of zeros.
  package::SecretKeyFile file;
  std::copy(key.id.begin(), key.id.end(), file.keynum.begin());
  std::copy(key.key.begin(), key.key.end(), file.keynum.begin() + 8);
  return package::SecretKeyFileText(file);
}

SecretKey UnlockSecretKey(const package::SecretKeyFile& file, std::string_view password) {
  Initialise();
  std::array<uint8_t, 104> keynum = file.keynum;
  if (file.encrypted) {
    std::array<uint8_t, 104> stream{};
    if (crypto_pwhash_scryptsalsa208sha256(stream.data(), stream.size(), password.data(), password.size(),
                                           file.salt.data(), file.opslimit, static_cast<size_t>(file.memlimit)) != 0)
      throw std::runtime_error("cannot derive the key from the password (out of memory?)");
    for (std::size_t i = 0; i < keynum.size(); ++i) keynum[i] ^= stream[i];
    sodium_memzero(stream.data(), stream.size());
  }
  SecretKey key;
  std::copy_n(keynum.begin(), 8, key.id.begin());
  std::copy_n(keynum.begin() + 8, 64, key.key.begin());
  // minisign leaves the checksum of a key without password empty; the key's
  // public half, kept in it, must match its seed either way.
  const auto checksum = Checksum(key);
  const bool unchecked = !file.encrypted && sodium_is_zero(keynum.data() + 72, 32);
  bool intact = unchecked || sodium_memcmp(checksum.data(), keynum.data() + 72, 32) == 0;
  std::array<uint8_t, 32> pub{};
  std::array<uint8_t, 64> derived{};
  crypto_sign_seed_keypair(pub.data(), derived.data(), key.key.data());
  intact = intact && sodium_memcmp(derived.data(), key.key.data(), 64) == 0;
  sodium_memzero(derived.data(), derived.size());
  sodium_memzero(keynum.data(), keynum.size());
  if (!intact)
    throw std::runtime_error(file.encrypted ? "wrong password for the secret key" : "the secret key is damaged");
  return key;
}

package::PublicKey PublicKeyOf(const SecretKey& key) {
  package::PublicKey pub;
  pub.id = key.id;
  crypto_sign_ed25519_sk_to_pk(pub.key.data(), key.key.data());
  return pub;
}

package::SignatureFile SignPrehashed(const SecretKey& key, const std::array<uint8_t, 64>& message_hash,
                                     const std::string& untrusted_comment, const std::string& trusted_comment) {
  Initialise();
  package::SignatureFile signature;
  signature.untrusted_comment = untrusted_comment;
  signature.prehashed = true;
  signature.id = key.id;
  signature.trusted_comment = trusted_comment;
  crypto_sign_detached(signature.signature.data(), nullptr, message_hash.data(), message_hash.size(), key.key.data());
  std::string global(signature.signature.begin(), signature.signature.end());
  global += trusted_comment;
  crypto_sign_detached(signature.global_signature.data(), nullptr,
                       reinterpret_cast<const unsigned char*>(global.data()), global.size(), key.key.data());
  return signature;
}

bool VerifySignature(const package::PublicKey& key, const package::SignatureFile& signature, std::string_view message) {
  Initialise();
  if (key.id != signature.id) return false;
  if (crypto_sign_verify_detached(signature.signature.data(), reinterpret_cast<const unsigned char*>(message.data()),
                                  message.size(), key.key.data()) != 0)
    return false;
  std::string global(signature.signature.begin(), signature.signature.end());
  global += signature.trusted_comment;
  return crypto_sign_verify_detached(signature.global_signature.data(),
                                     reinterpret_cast<const unsigned char*>(global.data()), global.size(),
                                     key.key.data()) == 0;
}

}  // namespace vmu::crypto
