// The SHA-256 of a file being written, taken on a thread of its own that
// trails the writer: it reads back from the file every byte the writer says
// is there, from the first, so that a resumed download hashes what an
// earlier attempt left while the rest arrives. The writer hands over no
// bytes and copies nothing: on a two-core machine the network and the disk
// keep one core busy, and a copy there is what the other core can do instead.
// What is hashed is what the file holds, the bytes that are later used.
// OpenSSL's SHA-256 uses the processor's SHA instructions where there are any.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace vmu::net {

class TrailingSha256 {
 public:
  // Starts hashing the open file `fd` from its first byte; `written` bytes are there now.
  TrailingSha256(int fd, uint64_t written);
  ~TrailingSha256();
  TrailingSha256(const TrailingSha256&) = delete;
  TrailingSha256& operator=(const TrailingSha256&) = delete;

  // Bytes [0, written) are in the file; cheap enough to call after every write.
  void Written(uint64_t written);
  // Hashes up to what was last said to be written; the digest as 64
  // lower-case hex digits, empty when the file could not be read back.
  std::string Finish();

 private:
  void Work(int fd);

  std::mutex mutex_;
  std::condition_variable more_;
  uint64_t written_ = 0;
  uint64_t wake_at_ = UINT64_MAX;  // the sleeping worker waits for this many bytes
  bool closing_ = false;
  std::string digest_;
  std::thread worker_;
};

}  // namespace vmu::net
