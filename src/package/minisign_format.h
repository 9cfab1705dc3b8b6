// The key and signature files of minisign, so that package makers can use
// that tool and its documentation. Text in, bytes out: no cryptography here.
//
//   public key line  "RW..."   base64 of "Ed" + key id (8) + Ed25519 key (32)
//   secret key file  comment line + base64 of "Ed" + kdf ("\0\0" or "Sc") +
//                    "B2" + salt (32) + opslimit (8) + memlimit (8) +
//                    [key id (8) + secret key (64) + BLAKE2b-256 check (32)]
//                    (the bracket xor-ed with an scrypt stream when "Sc")
//   signature file   "untrusted comment: ..." / base64 of "Ed" or "ED"
//                    (BLAKE2b-512 of the file signed) + key id + signature (64) /
//                    "trusted comment: ..." / base64 of the global signature
//                    over signature + trusted comment
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vmu::package {

using KeyId = std::array<uint8_t, 8>;

struct PublicKey {
  KeyId id{};
  std::array<uint8_t, 32> key{};
};

struct SecretKeyFile {
  bool encrypted = false;  // kdf "Sc": the key part is xor-ed with an scrypt stream
  std::array<uint8_t, 32> salt{};
  uint64_t opslimit = 0;
  uint64_t memlimit = 0;
  // Key id, secret key and checksum, as stored (still encrypted when encrypted).
  std::array<uint8_t, 104> keynum{};
};

struct SignatureFile {
  std::string untrusted_comment;  // without "untrusted comment: "
  bool prehashed = true;          // "ED": the signed text is BLAKE2b-512 of the file
  KeyId id{};
  std::array<uint8_t, 64> signature{};
  std::string trusted_comment;  // without "trusted comment: "
  std::array<uint8_t, 64> global_signature{};
};

std::string Base64Encode(std::string_view bytes);
// Standard alphabet with padding; nullopt for anything else.
std::optional<std::string> Base64Decode(std::string_view text);

// As minisign shows it: the id read as a little-endian number, in upper-case hex.
std::string KeyIdText(const KeyId& id);

// The "RW..." line (blanks around it allowed); nullopt when it is not one.
std::optional<PublicKey> ParsePublicKeyLine(std::string_view line);
std::string PublicKeyLine(const PublicKey& key);
// A public key file as minisign writes it: comment line and key line.
std::string PublicKeyFileText(const PublicKey& key);

// The keys of a trusted-keys text: one key line each; blank lines, lines
// starting with '#' and minisign's "untrusted comment:" lines are skipped.
// Other lines are named in `bad` (1-based line numbers).
std::vector<PublicKey> ParseTrustedKeys(std::string_view text, std::vector<int>* bad = nullptr);

// The text of a trusted-keys file from its bytes: a UTF-8 byte-order mark is
// dropped, UTF-16 with a byte-order mark (as Notepad saves "Unicode") is
// read as UTF-8 when it holds no surrogates. nullopt for anything else with
// NUL bytes, which no key file holds.
std::optional<std::string> TrustedKeysText(std::string_view bytes);

// Raises std::runtime_error naming what is wrong.
SecretKeyFile ParseSecretKeyFile(std::string_view text);
std::string SecretKeyFileText(const SecretKeyFile& key);

// nullopt when the text is not a signature file; `why` then says what is off.
std::optional<SignatureFile> ParseSignatureFile(std::string_view text, std::string* why = nullptr);
std::string SignatureFileText(const SignatureFile& signature);

}  // namespace vmu::package
