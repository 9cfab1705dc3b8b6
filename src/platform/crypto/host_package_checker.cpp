#include "platform/crypto/host_package_checker.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/crypto/hashing.h"
#include "platform/crypto/package_verification.h"
#include "platform/error.h"
#include "platform/file_identity.h"

namespace vmu {

namespace {

// A key file is a few lines; anything larger is not one.
constexpr off_t kMostKeyFileBytes = 1 << 20;

int NumberForErrno(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR: return kFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return kPermissionDenied;
    case ENOSPC:
    case EDQUOT: return kDiskFull;
    default: return kPathFileAccessError;
  }
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// The trusted-keys file's bytes; nullopt when nothing at all is there. A
// folder, a link to nowhere, a file we may not read: "" with `unreadable`.
std::optional<std::string> ReadKeyFile(const std::string& host, bool& unreadable) {
  unreadable = false;
  struct stat st {};
  if (::lstat(host.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    unreadable = true;
    return "";
  }
  const Fd fd(::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMostKeyFileBytes) {
    unreadable = true;
    return "";
  }
  std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

void CopyAll(int from, int to) {
  std::vector<char> buffer(1 << 20);
  while (true) {
    const ssize_t n = ::read(from, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Raise(NumberForErrno(errno));
    if (n == 0) return;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(to, buffer.data() + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) Raise(NumberForErrno(w < 0 ? errno : ENOSPC));
      done += w;
    }
  }
}

PackageCheck KeysUnreadable(const std::string& why) {
  PackageCheck check;
  check.verdict = PackageVerdict::KeysUnreadable;
  check.detail = why;
  return check;
}

}  // namespace

PackageCheck HostPackageChecker::CopyAndCheck(const std::string& path, const std::string& copy,
                                              const std::string& trusted_keys) {
  bool unreadable = false;
  const std::optional<std::string> key_bytes = ReadKeyFile(fs_.HostPath(trusted_keys), unreadable);
  std::vector<package::PublicKey> keys;
  std::vector<int> ignored;
  if (unreadable) return KeysUnreadable("it is not a file that can be read");
  if (key_bytes) {
    const std::optional<std::string> text = package::TrustedKeysText(*key_bytes);
    if (!text) return KeysUnreadable("its text is neither ASCII, UTF-8 nor UTF-16");
    keys = package::ParseTrustedKeys(*text, &ignored);
    if (keys.empty()) return KeysUnreadable("it holds no key");
  }

  const std::string source_host = fs_.HostPath(path), copy_host = fs_.HostPath(copy);
  const Fd source(::open(source_host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat st {};
  if (source.get() < 0) Raise(NumberForErrno(errno));
  if (::fstat(source.get(), &st) != 0 || !S_ISREG(st.st_mode)) Raise(kPathFileAccessError);
  // A new file only this user can touch: nothing that was there before, and
  // no link, is written through or started.
  const Fd target(::open(copy_host.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0700));
  if (target.get() < 0) Raise(NumberForErrno(errno));
  PackageCheck check;
  try {
    CopyAll(source.get(), target.get());
    // The check reads the copy through the descriptor that wrote it: what
    // is judged is what will run.
    check = crypto::CheckPackage(target.get(), copy_host, key_bytes ? &keys : nullptr);
  } catch (const VbError&) {
    ::unlink(copy_host.c_str());
    throw;
  } catch (const std::runtime_error&) {
    ::unlink(copy_host.c_str());
    throw VbError(kPathFileAccessError);
  }
  check.ignored_lines = std::move(ignored);
  if (check.verdict != PackageVerdict::Intact && check.verdict != PackageVerdict::Signed) ::unlink(copy_host.c_str());
  return check;
}

namespace {

std::string IdentityOf(const struct stat& st) {
  return FileIdentityText(st.st_dev, st.st_ino, static_cast<uint64_t>(st.st_size),
                          st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec,
                          st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec);
}

PackageChecker::FileHash HashHostFile(const std::string& host_path) {
  const Fd file(::open(host_path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  struct stat before {};
  if (file.get() < 0 || ::fstat(file.get(), &before) != 0) Raise(NumberForErrno(errno));
  crypto::Sha256 sha;
  // Left unset: clearing a large buffer for every small file costs more than hashing it.
  constexpr std::size_t kBuffer = 1 << 20;
  const auto buffer = std::make_unique_for_overwrite<char[]>(kBuffer);
  while (true) {
    const ssize_t n = ::read(file.get(), buffer.get(), kBuffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Raise(NumberForErrno(errno));
    if (n == 0) break;
    sha.Update(buffer.get(), static_cast<std::size_t>(n));
  }
  // A file that changed while it was read names no file: nothing will match it.
  struct stat after {};
  if (::fstat(file.get(), &after) != 0) Raise(NumberForErrno(errno));
  const std::string identity = IdentityOf(before);
  return {sha.HexDigest(), identity == IdentityOf(after) ? identity : "changed while read"};
}

}  // namespace

std::string HostPackageChecker::Sha256OfFile(const std::string& path) {
  return HashHostFile(fs_.HostPath(path)).sha256;
}

std::vector<PackageChecker::FileHash> HostPackageChecker::HashFiles(const std::vector<std::string>& paths) {
  // Mapped here, on one thread: the name index is not the workers' to touch.
  std::vector<std::string> host_paths;
  for (const std::string& path : paths) host_paths.push_back(fs_.HostPath(path));
  std::vector<FileHash> digests(paths.size());
  std::vector<std::exception_ptr> failures(paths.size());
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i; (i = next++) < host_paths.size();) {
      try {
        digests[i] = HashHostFile(host_paths[i]);
      } catch (...) {
        failures[i] = std::current_exception();
      }
    }
  };
  const std::size_t workers = std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), paths.size());
  std::vector<std::jthread> threads;
  for (std::size_t t = 1; t < workers; ++t) threads.emplace_back(work);
  work();
  threads.clear();
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
  return digests;
}

}  // namespace vmu
