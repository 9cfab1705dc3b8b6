// The trusted-keys file, the signature and the seal as the wizard checks a
// package: input is the key file's length (two bytes, little-endian), its
// bytes, then the package's bytes.
// Nothing read from them crashes or reads past what is there; every key
// and signature read writes back as text that reads the same; a seal's
// parts lie in order inside the file; and a package is never found signed
// by a key that is not trusted, nor in the legacy form.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "package/minisign_format.h"
#include "package/package_seal.h"
#include "platform/crypto/package_verification.h"

using vmu::fuzz::Require;
namespace package = vmu::package;

namespace {

bool SameSignature(const package::SignatureFile& a, const package::SignatureFile& b) {
  return a.untrusted_comment == b.untrusted_comment && a.prehashed == b.prehashed && a.id == b.id &&
         a.signature == b.signature && a.trusted_comment == b.trusted_comment &&
         a.global_signature == b.global_signature;
}

void CheckKeys(std::string_view bytes, std::vector<package::PublicKey>& keys) {
  const auto text = package::TrustedKeysText(bytes);
  if (!text) return;
  Require(text->find('\0') == std::string::npos, "key text holds no NUL");
  std::vector<int> bad;
  keys = package::ParseTrustedKeys(*text, &bad);
  Require(std::is_sorted(bad.begin(), bad.end()), "junk lines are named in order");
  for (const package::PublicKey& key : keys) {
    const auto again = package::ParsePublicKeyLine(package::PublicKeyLine(key));
    Require(again && again->id == key.id && again->key == key.key, "a key reads back as written");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  std::string_view rest = vmu::fuzz::Bytes(data + 2, size - 2);
  const std::string_view key_bytes = rest.substr(0, data[0] | data[1] << 8);
  rest.remove_prefix(key_bytes.size());
  std::vector<package::PublicKey> keys;
  CheckKeys(key_bytes, keys);

  const std::string_view tail = rest.substr(rest.size() - std::min(rest.size(), package::kSealTailSize));
  std::string why;
  bool legacy = false;
  if (const auto seal = package::FindSeal(tail, rest.size(), &why)) {
    Require(seal->hash_begin <= seal->comment_start && seal->comment_start <= seal->signed_end &&
                seal->signed_end <= rest.size() && seal->end_record < seal->comment_start,
            "the seal's parts lie in order inside the file");
    if (const auto signature = package::ParseSignatureFile(seal->signature)) {
      legacy = !signature->prehashed;
      const auto again = package::ParseSignatureFile(package::SignatureFileText(*signature));
      Require(again && SameSignature(*again, *signature), "a signature reads back as written");
    }
  }

  // The whole check, on a file in memory as the wizard's copy would be.
  const int fd = ::memfd_create("package", MFD_CLOEXEC);
  if (fd < 0) return 0;
  if (::write(fd, rest.data(), rest.size()) == static_cast<ssize_t>(rest.size())) {
    try {
      const vmu::PackageCheck check = vmu::crypto::CheckPackage(fd, "package", &keys);
      if (check.verdict == vmu::PackageVerdict::Signed) {
        Require(!legacy, "the legacy form is never accepted");
        Require(std::any_of(keys.begin(), keys.end(),
                            [&](const package::PublicKey& k) { return package::KeyIdText(k.id) == check.key_id; }),
                "only a trusted key signs");
      }
    } catch (const std::runtime_error&) {
    }
  }
  ::close(fd);
  return 0;
}
