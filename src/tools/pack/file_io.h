// Small host file helpers for packing and unpacking; failures raise a
// PackError whose text is one line naming the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace vmu::pack {

struct PackError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// "what: path: reason" from errno.
[[noreturn]] void RaiseErrno(const std::string& what, const std::string& path);

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd();
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  int release();
  void Close(const std::string& path);  // raises when close reports a failure

 private:
  int fd_;
};

UniqueFd OpenForReading(const std::string& path);
uint64_t FileSize(int fd, const std::string& path);
std::string ReadWholeFile(const std::string& path);
void WriteAll(int fd, const void* data, std::size_t size, const std::string& path);
void PwriteAll(int fd, const void* data, std::size_t size, uint64_t offset, const std::string& path);
// Raises when the file ends before `size` bytes.
void PreadAll(int fd, void* data, std::size_t size, uint64_t offset, const std::string& path);

}  // namespace vmu::pack
