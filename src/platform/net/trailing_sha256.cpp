#include "platform/net/trailing_sha256.h"

#include <openssl/evp.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace vmu::net {

namespace {

// Read back in pieces this large: few wake-ups, and still in the page cache.
constexpr uint64_t kPiece = 1 << 20;

using Context = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

}  // namespace

TrailingSha256::TrailingSha256(int fd, uint64_t written) : written_(written), worker_([this, fd] { Work(fd); }) {}

TrailingSha256::~TrailingSha256() { Finish(); }

void TrailingSha256::Written(uint64_t written) {
  bool wake = false;
  {
    std::lock_guard lock(mutex_);
    written_ = written;
    wake = written_ >= wake_at_;
  }
  if (wake) more_.notify_one();
}

std::string TrailingSha256::Finish() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  more_.notify_one();
  if (worker_.joinable()) worker_.join();
  return digest_;
}

void TrailingSha256::Work(int fd) {
  Context ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  bool ok = ctx && EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) == 1;
  std::vector<char> buffer(kPiece);
  uint64_t hashed = 0;
  for (;;) {
    uint64_t until = 0;
    {
      std::unique_lock lock(mutex_);
      wake_at_ = hashed + kPiece;
      more_.wait(lock, [&] { return closing_ || written_ >= wake_at_; });
      wake_at_ = UINT64_MAX;
      until = written_;
      if (until == hashed && closing_) break;
    }
    while (ok && hashed < until) {
      const ssize_t n =
          ::pread(fd, buffer.data(), std::min<uint64_t>(buffer.size(), until - hashed), static_cast<off_t>(hashed));
      ok = n > 0 && EVP_DigestUpdate(ctx.get(), buffer.data(), static_cast<std::size_t>(n)) == 1;
      hashed += n > 0 ? static_cast<uint64_t>(n) : 0;
    }
    if (!ok) break;
  }
  unsigned char md[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  ok = ok && EVP_DigestFinal_ex(ctx.get(), md, &length) == 1;
  if (!ok) return;
  static const char* const kHex = "0123456789abcdef";
  for (unsigned int i = 0; i < length; ++i) digest_ += {kHex[md[i] >> 4], kHex[md[i] & 15]};
}

}  // namespace vmu::net
