// The SHA-256 of a file being written, taken on a thread of its own so that
// hashing overlaps the network: first the bytes already in the file (read
// back from it), then each piece as it is written. OpenSSL's SHA-256 uses
// the processor's SHA instructions where there are any.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace vmu::net {

class BackgroundSha256 {
 public:
  // Hashes bytes [0, prefix) of the open file `fd` first.
  BackgroundSha256(int fd, uint64_t prefix);
  ~BackgroundSha256();
  BackgroundSha256(const BackgroundSha256&) = delete;
  BackgroundSha256& operator=(const BackgroundSha256&) = delete;

  // Queues a piece; waits while much is queued, so memory stays bounded.
  void Add(std::string piece);
  // Waits for everything queued; the digest as 64 lower-case hex digits,
  // empty when the file could not be read back.
  std::string Finish();

 private:
  void Work(int fd, uint64_t prefix);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::string> pieces_;
  std::size_t queued_ = 0;
  bool closing_ = false;
  bool failed_ = false;
  std::string digest_;
  std::thread worker_;
};

}  // namespace vmu::net
