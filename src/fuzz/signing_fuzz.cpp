// The trusted-keys file, the signature and the seal as the wizard checks a
// package: input is the key file's length (two bytes, little-endian), its
// bytes, then the package's bytes. Nothing read from them crashes or reads
// past what is there; keys and signatures read back as written; a seal's
// parts lie in order inside the file; and nothing is found signed by a key
// that is not trusted, nor in the legacy form.
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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  std::string_view rest = vmu::fuzz::Bytes(data + 2, size - 2);
  const std::string_view key_bytes = rest.substr(0, data[0] | data[1] << 8);
  rest.remove_prefix(key_bytes.size());
  std::vector<package::PublicKey> keys;
  if (const auto text = package::TrustedKeysText(key_bytes)) keys = package::ParseTrustedKeys(*text);
  for (const package::PublicKey& key : keys) {
    const auto again = package::ParsePublicKeyLine(package::PublicKeyLine(key));
    Require(again && again->id == key.id && again->key == key.key, "a key reads back as written");
  }

  const std::string_view tail = rest.substr(rest.size() - std::min(rest.size(), package::kSealTailSize));
  bool legacy = false;
  if (const auto seal = package::FindSeal(tail, rest.size(), nullptr)) {
    Require(seal->hash_begin <= seal->comment_start && seal->end_record < seal->comment_start &&
                seal->comment_start <= seal->signed_end && seal->signed_end <= rest.size(),
            "the seal's parts lie in order inside the file");
    if (const auto signature = package::ParseSignatureFile(seal->signature)) {
      legacy = !signature->prehashed;
      const std::string text = package::SignatureFileText(*signature);
      const auto again = package::ParseSignatureFile(text);
      Require(again && package::SignatureFileText(*again) == text, "a signature reads back as written");
    }
  }

  // The whole check, on a file in memory as the wizard's copy would be.
  const int fd = ::memfd_create("package", MFD_CLOEXEC);
  if (fd < 0) return 0;
  try {
    if (::write(fd, rest.data(), rest.size()) == static_cast<ssize_t>(rest.size())) {
      const vmu::PackageCheck check = vmu::crypto::CheckPackage(fd, "package", &keys);
      if (check.verdict == vmu::PackageVerdict::Signed) {
        Require(!legacy, "the legacy form is never accepted");
        Require(std::any_of(keys.begin(), keys.end(),
                            [&](const auto& key) { return package::KeyIdText(key.id) == check.key_id; }),
                "only a trusted key signs");
      }
    }
  } catch (const std::runtime_error&) {
  }
  ::close(fd);
  return 0;
}
