#include "platform/net/curl_network.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/net/curl_exchange.h"
#include "platform/net/trailing_sha256.h"

namespace vmu {

namespace {

NetResult Fail(NetFailure failure, std::string detail) { return {failure, 0, std::move(detail)}; }

NetResult WriteFailure(const std::string& path) {
  const int err = errno;
  return Fail(err == ENOSPC || err == EDQUOT ? NetFailure::DiskFull : NetFailure::WriteFailed,
              path + ": " + std::strerror(err));
}

class PartFile {
 public:
  ~PartFile() {
    hash_.reset();
    if (fd_ >= 0) ::close(fd_);
  }
  NetResult Open(const std::string& path) {
    path_ = path;
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0 || ::fstat(fd_, &opened_) != 0) return WriteFailure(path);
    if (!S_ISREG(opened_.st_mode)) return Fail(NetFailure::WriteFailed, path + ": not a plain file");
    size_ = static_cast<uint64_t>(opened_.st_size);
    return {};
  }
  // The state the last attempt stopped at, when this is still the very file
  // it left: the same inode, size and change time (which any write, truncation
  // or change of times moves on). Otherwise the file is hashed from its start.
  net::Sha256Midstate Kept(const std::optional<CurlNetwork::KeptHash>& kept) const {
    if (kept && kept->path == path_ && kept->dev == opened_.st_dev && kept->ino == opened_.st_ino &&
        kept->state.bytes == size_ && kept->changed.tv_sec == opened_.st_ctim.tv_sec &&
        kept->changed.tv_nsec == opened_.st_ctim.tv_nsec)
      return kept->state;
    return {};
  }
  bool hashing() const { return hash_.has_value(); }
  // Stops hashing where the file ends, for the next attempt to go on from.
  std::optional<CurlNetwork::KeptHash> Keep() {
    if (!hash_) return std::nullopt;
    net::Sha256Midstate state = hash_->Stop();
    hash_.reset();
    struct stat st {};
    if (!state.context || state.bytes != size_ || ::fstat(fd_, &st) != 0) return std::nullopt;
    return CurlNetwork::KeptHash{path_, st.st_dev, st.st_ino, st.st_ctim, std::move(state)};
  }
  uint64_t size() const { return size_; }
  // Empties the file for a new start.
  NetResult Restart() {
    hash_.reset();
    // Not when empty: ext4 takes a truncation to nothing for a file being
    // replaced and writes the whole new content out at close, which would
    // cost a fresh download half a second a gigabyte.
    if (size_ > 0 && ::ftruncate(fd_, 0) != 0) return WriteFailure(path_);
    size_ = 0;
    return {};
  }
  // From here on every byte is hashed, those an earlier attempt left first
  // (read back as they are now; the caller checks the whole).
  void StartHash(net::Sha256Midstate from = {}) { hash_.emplace(fd_, size_, std::move(from)); }
  // Straight from the network's buffer into the file; the hash reads it back.
  NetResult Append(const char* data, std::size_t n) {
    while (n > 0) {
      const ssize_t w = ::pwrite(fd_, data, n, static_cast<off_t>(size_));
      if (w < 0 && errno == EINTR) continue;
      // What did not reach the file is not there to resume from.
      if (w <= 0) return WriteFailure(path_);
      data += w;
      n -= static_cast<std::size_t>(w);
      size_ += static_cast<uint64_t>(w);
    }
    if (hash_) hash_->Written(size_);
    return {};
  }
  std::string Digest() { return hash_ ? hash_->Finish() : ""; }

 private:
  std::string path_;
  int fd_ = -1;
  struct stat opened_ {};
  uint64_t size_ = 0;
  std::optional<net::TrailingSha256> hash_;
};

}  // namespace

CurlNetwork::CurlNetwork(FileSystem& fs) : fs_(fs) {}

NetResult CurlNetwork::Fetch(const std::string& url, uint64_t max_bytes, const NetPolicy& policy, std::string& body) {
  body.clear();
  net::Body sink{[&](long, uint64_t) { return NetResult{}; },
                 [&](const char* data, std::size_t n) {
                   if (body.size() + n > max_bytes)
                     return Fail(NetFailure::TooLarge, "more than " + std::to_string(max_bytes) + " bytes");
                   body.append(data, n);
                   return NetResult{};
                 }};
  NetResult result = net::Exchange(url, 0, policy, sink);
  if (!result.ok()) body.clear();
  return result;
}

DownloadResult CurlNetwork::Download(const std::string& url, const std::string& part, uint64_t size,
                                     const NetPolicy& policy, const NetProgress& progress) {
  DownloadResult result;
  const auto finish = [&](NetResult r, PartFile& file) {
    static_cast<NetResult&>(result) = std::move(r);
    result.size = file.size();
    return result;
  };
  PartFile file;
  NetResult step = file.Open(fs_.HostPath(part));
  if (!step.ok()) return finish(step, file);
  if (file.size() > size) step = file.Restart();
  if (!step.ok()) return finish(step, file);
  // A second press after a broken connection goes on hashing where the first
  // stopped; the next start of the wizard hashes the part again.
  net::Sha256Midstate from = file.Kept(kept_);
  if (file.size() == size) file.StartHash(from);
  // A range past the end is refused with 416, so a complete file asks for nothing.
  if (file.size() < size) {
    net::Body sink{[&](long status, uint64_t first_byte) {
                     NetResult ready;
                     // The server ignored the range (or sent another): start over.
                     if (status != 206 || first_byte != file.size()) {
                       ready = file.Restart();
                       from = {};
                     }
                     if (ready.ok()) file.StartHash(from);
                     return ready;
                   },
                   [&](const char* data, std::size_t n) {
                     if (file.size() + n > size)
                       return Fail(NetFailure::TooLarge, "more than the " + std::to_string(size) + " bytes stated");
                     NetResult written = file.Append(data, n);
                     if (written.ok() && progress) progress(file.size(), size);
                     return written;
                   }};
    step = net::Exchange(url, file.size(), policy, sink);
    // Bytes beyond the size stated can never make a good file, and a range
    // the server refuses means its file is not the one we hold the start of.
    if (step.failure == NetFailure::TooLarge || step.status == 416) file.Restart();
    if (step.ok() && file.size() < size)
      step = Fail(NetFailure::Interrupted,
                  "the server sent " + std::to_string(file.size()) + " of " + std::to_string(size) + " bytes");
    if (!step.ok()) {
      if (file.hashing()) kept_ = file.Keep();
      return finish(step, file);
    }
  }
  kept_.reset();
  if (progress) progress(file.size(), size);
  result.sha256 = file.Digest();
  if (result.sha256.empty()) return finish(Fail(NetFailure::WriteFailed, part + ": cannot be read back"), file);
  return finish({}, file);
}

}  // namespace vmu
