#include "platform/crypto/package_verification.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/crypto/hashing.h"
#include "platform/crypto/signing.h"

namespace vmu::crypto {

namespace {

class File {
 public:
  explicit File(const std::string& path) : path_(path), fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (fd_ < 0) Fail("cannot open");
  }
  ~File() { ::close(fd_); }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  int fd() const { return fd_; }
  [[noreturn]] void Fail(const char* what) const {
    throw std::runtime_error(std::string(what) + " " + path_ + ": " + std::strerror(errno));
  }

 private:
  std::string path_;
  int fd_;
};

void Read(int fd, char* data, std::size_t size, uint64_t offset, const std::string& path) {
  while (size > 0) {
    const ssize_t n = ::pread(fd, data, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      throw std::runtime_error("cannot read " + path +
                               (n < 0 ? std::string(": ") + std::strerror(errno) : ": it ended early"));
    data += n;
    size -= static_cast<std::size_t>(n);
    offset += static_cast<uint64_t>(n);
  }
}

PackageCheck Verdict(PackageVerdict verdict, std::string detail, std::string key_id = "") {
  return {verdict, std::move(detail), std::move(key_id), {}};
}

}  // namespace

SealedPackage ReadPackageSeal(int fd, const std::string& path) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
  SealedPackage sealed;
  sealed.size = static_cast<uint64_t>(st.st_size);
  const auto tail_size = static_cast<std::size_t>(std::min<uint64_t>(sealed.size, package::kSealTailSize));
  std::string tail(tail_size, '\0');
  Read(fd, tail.data(), tail.size(), sealed.size - tail_size, path);
  if (auto seal = package::FindSeal(tail, sealed.size, &sealed.why)) {
    sealed.found = true;
    sealed.seal = std::move(*seal);
  }
  return sealed;
}

PackageCheck CheckPackageFile(const std::string& host_path, const std::vector<package::PublicKey>* keys) {
  const File file(host_path);
  return CheckPackage(file.fd(), host_path, keys);
}

PackageCheck CheckPackage(int fd, const std::string& host_path, const std::vector<package::PublicKey>* keys) {
  const SealedPackage sealed = ReadPackageSeal(fd, host_path);
  if (!sealed.found) return Verdict(PackageVerdict::Damaged, sealed.why);
  const package::SealLayout& seal = sealed.seal;

  // One pass: the SHA-256 of the sealed bytes and the BLAKE2b-512 of the signed ones.
  Sha256 sha;
  Blake2b512 blake;
  std::vector<char> buffer(4 << 20);
  for (uint64_t at = 0; at < seal.signed_end;) {
    const auto n = static_cast<std::size_t>(std::min<uint64_t>(buffer.size(), seal.signed_end - at));
    Read(fd, buffer.data(), n, at, host_path);
    const uint64_t from = std::min(at + n, std::max(at, seal.hash_begin));
    const uint64_t to = std::max(from, std::min(at + n, seal.comment_start));
    UpdateBoth(sha, buffer.data() + (from - at), static_cast<std::size_t>(to - from), blake, buffer.data(), n);
    at += n;
  }
  if (sha.HexDigest() != seal.sha256)
    return Verdict(PackageVerdict::Damaged, "its contents do not match their SHA-256");
  if (!keys) return Verdict(PackageVerdict::Intact, "whole");
  if (seal.signature.empty()) return Verdict(PackageVerdict::Unsigned, "it carries no signature");

  std::string why;
  const auto signature = package::ParseSignatureFile(seal.signature, &why);
  if (!signature) return Verdict(PackageVerdict::BadSignature, why);
  // The legacy form signs the whole file, which would have to be held in
  // memory to be checked; vmu-pack never writes it.
  if (!signature->prehashed) return Verdict(PackageVerdict::BadSignature, "its signature has the legacy form");
  const std::string id = package::KeyIdText(signature->id);
  const auto key = std::find_if(keys->begin(), keys->end(), [&](const auto& k) { return k.id == signature->id; });
  if (key == keys->end()) return Verdict(PackageVerdict::UnknownKey, "it is signed by the unknown key " + id, id);

  const auto digest = blake.Digest();
  const std::string message(digest.begin(), digest.end());
  if (!VerifySignature(*key, *signature, message))
    return Verdict(PackageVerdict::BadSignature, "its signature by key " + id + " does not match its contents", id);
  return Verdict(PackageVerdict::Signed, "signed by key " + id, id);
}

}  // namespace vmu::crypto
