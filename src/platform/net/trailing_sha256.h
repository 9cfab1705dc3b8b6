// The SHA-256 of a file being written, taken on a thread of its own that
// trails the writer: it reads back from the file every byte the writer says
// is there, so that what is hashed is what the file holds, the bytes later
// used. The writer hands over no bytes and copies nothing: on a two-core
// machine the network and the disk keep one core busy, and a copy there is
// what the other core can do instead. A resumed download hashes what an
// earlier attempt left while the rest arrives, unless it goes on from the
// state that attempt stopped at (Stop).
// OpenSSL's SHA-256 uses the processor's SHA instructions where there are any.
#pragma once

#include <openssl/evp.h>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace vmu::net {

// The hash of the first `bytes` bytes of a file, not yet finished.
struct Sha256Midstate {
  std::shared_ptr<EVP_MD_CTX> context;
  uint64_t bytes = 0;
};

class TrailingSha256 {
 public:
  // Hashes the open file `fd`, `written` bytes long now, from `from` on
  // (from its first byte when `from` holds no state).
  TrailingSha256(int fd, uint64_t written, Sha256Midstate from = {});
  ~TrailingSha256();
  TrailingSha256(const TrailingSha256&) = delete;
  TrailingSha256& operator=(const TrailingSha256&) = delete;

  // Bytes [0, written) are in the file; cheap enough to call after every write.
  void Written(uint64_t written);
  // Hashes up to what was last said to be written; the digest as 64
  // lower-case hex digits, empty when the file could not be read back.
  std::string Finish();
  // Hashes up to what was last said to be written and hands over the state
  // there instead of finishing; no context when the file could not be read back.
  Sha256Midstate Stop();

 private:
  void Work(int fd, Sha256Midstate from);
  void Close(bool finish);

  std::mutex mutex_;
  std::condition_variable more_;
  uint64_t written_ = 0;
  uint64_t wake_at_ = UINT64_MAX;  // the sleeping worker waits for this many bytes
  bool closing_ = false;
  bool finish_ = true;
  std::string digest_;
  Sha256Midstate stopped_;
  std::thread worker_;
};

}  // namespace vmu::net
