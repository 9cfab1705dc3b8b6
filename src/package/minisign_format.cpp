#include "package/minisign_format.h"

#include <algorithm>
#include <stdexcept>

namespace vmu::package {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view kUntrusted = "untrusted comment: ";
constexpr std::string_view kTrusted = "trusted comment: ";

int Sextet(char ch) {
  if (ch >= 'A' && ch <= 'Z') return ch - 'A';
  if (ch >= 'a' && ch <= 'z') return ch - 'a' + 26;
  if (ch >= '0' && ch <= '9') return ch - '0' + 52;
  if (ch == '+') return 62;
  if (ch == '/') return 63;
  return -1;
}

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// The lines of a text, without their line ends (LF or CR LF).
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

template <std::size_t N>
void Take(std::array<uint8_t, N>& to, const std::string& from, std::size_t at) {
  std::copy_n(from.begin() + static_cast<std::ptrdiff_t>(at), N, to.begin());
}

template <std::size_t N>
void Give(std::string& to, const std::array<uint8_t, N>& from) {
  to.append(from.begin(), from.end());
}

uint64_t LittleEndian(const std::string& bytes, std::size_t at) {
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

void PutLittleEndian(std::string& to, uint64_t value) {
  for (int i = 0; i < 8; ++i) to.push_back(static_cast<char>(value >> (8 * i)));
}

}  // namespace

std::string Base64Encode(std::string_view bytes) {
  std::string text;
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t v = static_cast<uint8_t>(bytes[i]) << 16 | static_cast<uint8_t>(bytes[i + 1]) << 8 |
                       static_cast<uint8_t>(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) text.push_back(kAlphabet[v >> shift & 63]);
  }
  if (i + 1 == bytes.size()) {
    const uint32_t v = static_cast<uint8_t>(bytes[i]) << 16;
    text += {kAlphabet[v >> 18 & 63], kAlphabet[v >> 12 & 63], '=', '='};
  } else if (i + 2 == bytes.size()) {
    const uint32_t v = static_cast<uint8_t>(bytes[i]) << 16 | static_cast<uint8_t>(bytes[i + 1]) << 8;
    text += {kAlphabet[v >> 18 & 63], kAlphabet[v >> 12 & 63], kAlphabet[v >> 6 & 63], '='};
  }
  return text;
}

std::optional<std::string> Base64Decode(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    int pad = 0;
    uint32_t v = 0;
    for (std::size_t j = 0; j < 4; ++j) {
      const char ch = text[i + j];
      if (ch == '=' && last && j >= 2 && (j == 3 || text[i + 3] == '=')) {
        ++pad;
        v <<= 6;
        continue;
      }
      const int s = Sextet(ch);
      if (s < 0 || pad > 0) return std::nullopt;
      v = v << 6 | static_cast<uint32_t>(s);
    }
    bytes.push_back(static_cast<char>(v >> 16));
    if (pad < 2) bytes.push_back(static_cast<char>(v >> 8));
    if (pad < 1) bytes.push_back(static_cast<char>(v));
  }
  return bytes;
}

std::string KeyIdText(const KeyId& id) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (auto it = id.rbegin(); it != id.rend(); ++it) text += {kHex[*it >> 4], kHex[*it & 15]};
  return text;
}

std::optional<PublicKey> ParsePublicKeyLine(std::string_view line) {
  const auto bytes = Base64Decode(Trimmed(line));
  if (!bytes || bytes->size() != 42 || bytes->compare(0, 2, "Ed") != 0) return std::nullopt;
  PublicKey key;
  Take(key.id, *bytes, 2);
  Take(key.key, *bytes, 10);
  return key;
}

std::string PublicKeyLine(const PublicKey& key) {
  std::string bytes = "Ed";
  Give(bytes, key.id);
  Give(bytes, key.key);
  return Base64Encode(bytes);
}

std::string PublicKeyFileText(const PublicKey& key) {
  return std::string(kUntrusted) + "minisign public key " + KeyIdText(key.id) + "\n" + PublicKeyLine(key) + "\n";
}

std::vector<PublicKey> ParseTrustedKeys(std::string_view text, std::vector<int>* bad) {
  std::vector<PublicKey> keys;
  int number = 0;
  for (std::string_view line : Lines(text)) {
    ++number;
    line = Trimmed(line);
    if (line.empty() || line.front() == '#' || line.starts_with(kUntrusted)) continue;
    if (auto key = ParsePublicKeyLine(line)) keys.push_back(*key);
    else if (bad) bad->push_back(number);
  }
  return keys;
}

std::optional<std::string> TrustedKeysText(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  const bool little = bytes.starts_with("\xFF\xFE"), big = bytes.starts_with("\xFE\xFF");
  if (!little && !big) {
    if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
    return std::string(bytes);
  }
  if (bytes.size() % 2 != 0) return std::nullopt;
  // Comments may hold any character of the basic plane ("geïnstalleerd");
  // the keys themselves are ASCII.
  std::string text;
  for (std::size_t at = 2; at < bytes.size(); at += 2) {
    const auto low = static_cast<unsigned char>(bytes[little ? at : at + 1]);
    const auto high = static_cast<unsigned char>(bytes[little ? at + 1 : at]);
    if (high == 0 && low == 0) return std::nullopt;
    // Keys are ASCII; any other character can only be in a comment, as a
    // Dutch "geïnstalleerd" is, and does not need its own spelling here.
    text += high == 0 && low < 0x80 ? static_cast<char>(low) : '?';
  }
  return text;
}

SecretKeyFile ParseSecretKeyFile(std::string_view text) {
  const std::vector<std::string_view> lines = Lines(text);
  if (lines.size() < 2 || !lines[0].starts_with(kUntrusted))
    throw std::runtime_error("not a minisign secret key file (no comment line)");
  const auto bytes = Base64Decode(Trimmed(lines[1]));
  if (!bytes || bytes->size() != 158 || bytes->compare(0, 2, "Ed") != 0 || bytes->compare(4, 2, "B2") != 0)
    throw std::runtime_error("not a minisign secret key file (malformed key line)");
  SecretKeyFile key;
  const std::string kdf = bytes->substr(2, 2);
  if (kdf == "Sc") key.encrypted = true;
  else if (kdf != std::string(2, '\0')) throw std::runtime_error("the secret key uses an unknown key derivation");
  Take(key.salt, *bytes, 6);
  key.opslimit = LittleEndian(*bytes, 38);
  key.memlimit = LittleEndian(*bytes, 46);
  Take(key.keynum, *bytes, 54);
  return key;
}

std::string SecretKeyFileText(const SecretKeyFile& key) {
  std::string bytes = "Ed";
  bytes += key.encrypted ? std::string("Sc") : std::string(2, '\0');
  bytes += "B2";
  Give(bytes, key.salt);
  PutLittleEndian(bytes, key.opslimit);
  PutLittleEndian(bytes, key.memlimit);
  Give(bytes, key.keynum);
  return std::string(kUntrusted) + "minisign " + (key.encrypted ? "encrypted " : "") + "secret key\n" +
         Base64Encode(bytes) + "\n";
}

std::optional<SignatureFile> ParseSignatureFile(std::string_view text, std::string* why) {
  const auto fail = [&](const char* reason) -> std::optional<SignatureFile> {
    if (why) *why = reason;
    return std::nullopt;
  };
  const std::vector<std::string_view> lines = Lines(text);
  if (lines.size() < 4) return fail("the signature is incomplete");
  if (!lines[0].starts_with(kUntrusted)) return fail("the signature has no untrusted comment line");
  if (!lines[2].starts_with(kTrusted)) return fail("the signature has no trusted comment line");
  for (std::size_t i = 4; i < lines.size(); ++i)
    if (!Trimmed(lines[i]).empty()) return fail("the signature has extra lines");
  const auto signature = Base64Decode(Trimmed(lines[1]));
  const auto global = Base64Decode(Trimmed(lines[3]));
  if (!signature || signature->size() != 74 || !global || global->size() != 64)
    return fail("the signature is malformed");
  SignatureFile file;
  const std::string algorithm = signature->substr(0, 2);
  if (algorithm != "Ed" && algorithm != "ED") return fail("the signature uses an unknown algorithm");
  file.prehashed = algorithm == "ED";
  file.untrusted_comment = std::string(lines[0].substr(kUntrusted.size()));
  Take(file.id, *signature, 2);
  Take(file.signature, *signature, 10);
  file.trusted_comment = std::string(lines[2].substr(kTrusted.size()));
  Take(file.global_signature, *global, 0);
  return file;
}

std::string SignatureFileText(const SignatureFile& signature) {
  std::string bytes = signature.prehashed ? "ED" : "Ed";
  Give(bytes, signature.id);
  Give(bytes, signature.signature);
  std::string global;
  Give(global, signature.global_signature);
  return std::string(kUntrusted) + signature.untrusted_comment + "\n" + Base64Encode(bytes) + "\n" +
         std::string(kTrusted) + signature.trusted_comment + "\n" + Base64Encode(global) + "\n";
}

}  // namespace vmu::package
