#include "platform/net/background_sha256.h"

#include <openssl/evp.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace vmu::net {

namespace {

constexpr std::size_t kMostQueued = 64 << 20;

using Context = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

}  // namespace

BackgroundSha256::BackgroundSha256(int fd, uint64_t prefix) : worker_([this, fd, prefix] { Work(fd, prefix); }) {}

BackgroundSha256::~BackgroundSha256() { Finish(); }

void BackgroundSha256::Add(std::string piece) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return queued_ < kMostQueued; });
  queued_ += piece.size();
  pieces_.push_back(std::move(piece));
  changed_.notify_all();
}

std::string BackgroundSha256::Finish() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
  return failed_ ? "" : digest_;
}

void BackgroundSha256::Work(int fd, uint64_t prefix) {
  Context ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  bool ok = ctx && EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) == 1;
  std::vector<char> buffer(1 << 20);
  for (uint64_t at = 0; ok && at < prefix;) {
    const ssize_t n =
        ::pread(fd, buffer.data(), std::min<uint64_t>(buffer.size(), prefix - at), static_cast<off_t>(at));
    ok = n > 0 && EVP_DigestUpdate(ctx.get(), buffer.data(), static_cast<std::size_t>(n)) == 1;
    at += n > 0 ? static_cast<uint64_t>(n) : 0;
  }
  for (;;) {
    std::string piece;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return !pieces_.empty() || closing_; });
      if (pieces_.empty()) break;
      piece = std::move(pieces_.front());
      pieces_.pop_front();
      queued_ -= piece.size();
    }
    changed_.notify_all();
    ok = ok && EVP_DigestUpdate(ctx.get(), piece.data(), piece.size()) == 1;
  }
  unsigned char md[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  ok = ok && EVP_DigestFinal_ex(ctx.get(), md, &length) == 1;
  static const char* const kHex = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) hex += {kHex[md[i] >> 4], kHex[md[i] & 15]};
  std::lock_guard lock(mutex_);
  failed_ = !ok;
  digest_ = hex;
}

}  // namespace vmu::net
