#include "tools/pack/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vmu::pack {

void RaiseErrno(const std::string& what, const std::string& path) {
  throw PackError(what + ": " + path + ": " + std::strerror(errno));
}

UniqueFd::~UniqueFd() {
  if (fd_ >= 0) ::close(fd_);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.release();
  }
  return *this;
}

int UniqueFd::release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

void UniqueFd::Close(const std::string& path) {
  const int fd = release();
  if (fd >= 0 && ::close(fd) != 0) RaiseErrno("cannot write", path);
}

UniqueFd OpenForReading(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) RaiseErrno("cannot open", path);
  return fd;
}

uint64_t FileSize(int fd, const std::string& path) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) RaiseErrno("cannot read", path);
  return static_cast<uint64_t>(st.st_size);
}

std::string ReadWholeFile(const std::string& path) {
  UniqueFd fd = OpenForReading(path);
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RaiseErrno("cannot read", path);
    if (n == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

void WriteAll(int fd, const void* data, std::size_t size, const std::string& path) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RaiseErrno("cannot write", path);
    p += n;
    size -= static_cast<std::size_t>(n);
  }
}

void PwriteAll(int fd, const void* data, std::size_t size, uint64_t offset, const std::string& path) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::pwrite(fd, p, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RaiseErrno("cannot write", path);
    p += n;
    offset += static_cast<uint64_t>(n);
    size -= static_cast<std::size_t>(n);
  }
}

void PreadAll(int fd, void* data, std::size_t size, uint64_t offset, const std::string& path) {
  char* p = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = ::pread(fd, p, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RaiseErrno("cannot read", path);
    if (n == 0) throw PackError("unexpected end of file: " + path);
    p += n;
    offset += static_cast<uint64_t>(n);
    size -= static_cast<std::size_t>(n);
  }
}

}  // namespace vmu::pack
