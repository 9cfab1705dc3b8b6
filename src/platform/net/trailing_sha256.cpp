#include "platform/net/trailing_sha256.h"

#include <unistd.h>

#include <vector>

namespace vmu::net {

namespace {

// Read back in pieces this large: few wake-ups, and still in the page cache.
constexpr uint64_t kPiece = 1 << 20;

std::shared_ptr<EVP_MD_CTX> NewContext() { return {EVP_MD_CTX_new(), EVP_MD_CTX_free}; }

}  // namespace

TrailingSha256::TrailingSha256(int fd, uint64_t written, Sha256Midstate from)
    : written_(written), worker_([this, fd, from = std::move(from)] { Work(fd, from); }) {}

TrailingSha256::~TrailingSha256() { Close(true); }

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
  Close(true);
  return digest_;
}

Sha256Midstate TrailingSha256::Stop() {
  Close(false);
  return stopped_;
}

void TrailingSha256::Close(bool finish) {
  {
    std::lock_guard lock(mutex_);
    if (closing_) return;
    closing_ = true;
    finish_ = finish;
  }
  more_.notify_one();
  if (worker_.joinable()) worker_.join();
}

void TrailingSha256::Work(int fd, Sha256Midstate from) {
  std::shared_ptr<EVP_MD_CTX> ctx = NewContext();
  bool ok = ctx && (from.context ? EVP_MD_CTX_copy_ex(ctx.get(), from.context.get())
                                 : EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr)) == 1;
  std::vector<char> buffer(kPiece);
  uint64_t hashed = from.context ? from.bytes : 0;
  bool finish = true;
  for (;;) {
    uint64_t until = 0;
    {
      std::unique_lock lock(mutex_);
      wake_at_ = hashed + kPiece;
      more_.wait(lock, [&] { return closing_ || written_ >= wake_at_; });
      wake_at_ = UINT64_MAX;
      until = written_;
      finish = finish_;
      if (until <= hashed && closing_) break;
    }
    while (ok && hashed < until) {
      const ssize_t n =
          ::pread(fd, buffer.data(), std::min<uint64_t>(buffer.size(), until - hashed), static_cast<off_t>(hashed));
      ok = n > 0 && EVP_DigestUpdate(ctx.get(), buffer.data(), static_cast<std::size_t>(n)) == 1;
      hashed += n > 0 ? static_cast<uint64_t>(n) : 0;
    }
    if (!ok) break;
  }
  if (!ok) return;
  if (!finish) {
    stopped_ = {ctx, hashed};
    return;
  }
  unsigned char md[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(ctx.get(), md, &length) != 1) return;
  static const char* const kHex = "0123456789abcdef";
  for (unsigned int i = 0; i < length; ++i) digest_ += {kHex[md[i] >> 4], kHex[md[i] & 15]};
}

}  // namespace vmu::net
