#include "tools/pack/archive_reader.h"

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <memory>

#include "tools/pack/file_io.h"

namespace vmu::pack {

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22, kCentralSize = 46, kLocalSize = 30;
constexpr std::size_t kBlock = 1 << 20;
constexpr uint16_t kStored = 0, kDeflated = 8;

uint32_t Get(const uint8_t* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

// The modification time of the "UT" extra field, when there is one.
bool ExtendedTime(const uint8_t* extra, std::size_t size, time_t& mtime) {
  for (std::size_t p = 0; p + 4 <= size;) {
    const uint32_t id = Get(extra + p, 2), length = Get(extra + p + 2, 2);
    if (p + 4 + length > size) return false;
    if (id == 0x5455 && length >= 5 && (extra[p + 4] & 1)) {
      mtime = static_cast<time_t>(static_cast<int32_t>(Get(extra + p + 5, 4)));
      return true;
    }
    p += 4 + length;
  }
  return false;
}

// An MS-DOS date and time, in local time as zip tools write it.
time_t DosTime(uint32_t time, uint32_t date) {
  tm t{};
  t.tm_year = static_cast<int>((date >> 9) + 80);
  t.tm_mon = static_cast<int>((date >> 5 & 15)) - 1;
  t.tm_mday = static_cast<int>(date & 31);
  t.tm_hour = static_cast<int>(time >> 11);
  t.tm_min = static_cast<int>(time >> 5 & 63);
  t.tm_sec = static_cast<int>((time & 31) * 2);
  t.tm_isdst = -1;
  return mktime(&t);
}

}  // namespace

ArchiveReader::ArchiveReader(int fd, std::string path) : fd_(fd), path_(std::move(path)) {
  const uint64_t size = FileSize(fd_, path_);
  const auto tail_size = static_cast<std::size_t>(std::min<uint64_t>(size, kEndSize + 0xFFFF));
  std::vector<uint8_t> tail(tail_size);
  PreadAll(fd_, tail.data(), tail.size(), size - tail_size, path_);
  for (std::size_t p = tail_size >= kEndSize ? tail_size - kEndSize + 1 : 0; p-- > 0;) {
    if (Get(&tail[p], 4) != kEndSignature || p + kEndSize + Get(&tail[p + 20], 2) != tail_size) continue;
    const uint64_t end_record = size - tail_size + p;
    directory_start_ = Get(&tail[p + 16], 4);
    const uint64_t directory_size = Get(&tail[p + 12], 4);
    remaining_ = Get(&tail[p + 10], 2);
    if (Get(&tail[p + 4], 4) != 0 || remaining_ != Get(&tail[p + 8], 2)) Fail("the archive spans several disks");
    if (directory_start_ == 0xFFFFFFFF || remaining_ == 0xFFFF) Fail("the archive is too large (zip64)");
    if (directory_start_ + directory_size != end_record) Fail("the archive's central directory is out of place");
    directory_.resize(directory_size);
    PreadAll(fd_, directory_.data(), directory_.size(), directory_start_, path_);
    return;
  }
  Fail("cannot open the archive (no zip end record)");
}

void ArchiveReader::Fail(const std::string& what) const { throw PackError(path_ + ": " + what); }

bool ArchiveReader::Next(ArchiveEntry& entry) {
  has_current_ = false;
  if (remaining_ == 0) {
    if (next_ != directory_.size()) Fail("unreadable archive entry (the central directory has extra bytes)");
    return false;
  }
  --remaining_;
  if (next_ + kCentralSize > directory_.size() || Get(&directory_[next_], 4) != kCentralSignature)
    Fail("unreadable archive entry (malformed central directory)");
  const uint8_t* c = &directory_[next_];
  const std::size_t name_size = Get(c + 28, 2), extra_size = Get(c + 30, 2), comment_size = Get(c + 32, 2);
  if (next_ + kCentralSize + name_size + extra_size + comment_size > directory_.size())
    Fail("unreadable archive entry (malformed central directory)");
  const uint32_t flags = Get(c + 8, 2);
  current_.method = static_cast<uint16_t>(Get(c + 10, 2));
  current_.crc = Get(c + 16, 4);
  current_.compressed = Get(c + 20, 4);
  current_size_ = Get(c + 24, 4);
  current_.local_header = Get(c + 42, 4);
  entry.name.assign(reinterpret_cast<const char*>(c + kCentralSize), name_size);
  if (flags & 1) Fail("unreadable archive entry \"" + entry.name + "\" (encrypted)");
  if (current_.method != kStored && current_.method != kDeflated)
    Fail("unreadable archive entry \"" + entry.name + "\" (unknown compression)");
  if (current_.compressed == 0xFFFFFFFF || current_size_ == 0xFFFFFFFF || current_.local_header == 0xFFFFFFFF)
    Fail("unreadable archive entry \"" + entry.name + "\" (zip64)");

  const bool unix_attributes = Get(c + 5, 1) == 3;
  const uint32_t mode = unix_attributes ? Get(c + 38, 4) >> 16 : 0;
  const bool folder = !entry.name.empty() && entry.name.back() == '/';
  entry.link = unix_attributes && S_ISLNK(mode);
  entry.regular = !folder && !entry.link && (mode == 0 ? !(Get(c + 38, 4) & 0x10) : S_ISREG(mode));
  entry.perm = mode != 0 ? (mode & 07777) : 0644;
  entry.size_known = true;
  entry.size = current_size_;
  time_t mtime = 0;
  if (!ExtendedTime(c + kCentralSize + name_size, extra_size, mtime)) mtime = DosTime(Get(c + 12, 2), Get(c + 14, 2));
  entry.has_mtime = true;
  entry.mtime = {mtime, 0};
  next_ += kCentralSize + name_size + extra_size + comment_size;
  has_current_ = true;
  return true;
}

void ArchiveReader::ReadData(const std::function<void(const void*, std::size_t, uint64_t)>& sink) {
  if (!has_current_) Fail("no archive entry to read");
  has_current_ = false;
  uint8_t local[kLocalSize];
  if (current_.local_header + kLocalSize > directory_start_) Fail("unreadable archive data (entry out of place)");
  PreadAll(fd_, local, kLocalSize, current_.local_header, path_);
  if (Get(local, 4) != kLocalSignature) Fail("unreadable archive data (no local header)");
  uint64_t at = current_.local_header + kLocalSize + Get(local + 26, 2) + Get(local + 28, 2);
  if (at + current_.compressed > directory_start_) Fail("unreadable archive data (entry out of place)");

  // Allocated once for all entries: a package may hold thousands of small files.
  std::vector<uint8_t>& in = in_;
  std::vector<uint8_t>& out = out_;
  in.resize(kBlock);
  out.resize(kBlock);
  uLong crc = crc32(0, nullptr, 0);
  uint64_t written = 0;
  const auto emit = [&](const uint8_t* data, std::size_t size) {
    if (written + size > current_size_) Fail("unreadable archive data (more than its stated size)");
    crc = crc32(crc, data, static_cast<uInt>(size));
    sink(data, size, written);
    written += size;
  };
  uint64_t left = current_.compressed;
  const auto read_more = [&]() -> std::size_t {
    const auto n = static_cast<std::size_t>(std::min<uint64_t>(in.size(), left));
    PreadAll(fd_, in.data(), n, at, path_);
    at += n;
    left -= n;
    return n;
  };
  if (current_.method == kStored) {
    while (left > 0) emit(in.data(), read_more());
  } else {
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) Fail("unreadable archive data (zlib)");
    std::unique_ptr<z_stream, int (*)(z_stream*)> inflater(&z, inflateEnd);
    for (;;) {
      if (z.avail_in == 0 && left > 0) {
        z.avail_in = static_cast<uInt>(read_more());
        z.next_in = in.data();
      }
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      const int rc = inflate(&z, Z_NO_FLUSH);
      emit(out.data(), out.size() - z.avail_out);
      if (rc == Z_STREAM_END) {
        if (z.avail_in > 0 || left > 0) Fail("unreadable archive data (extra compressed data)");
        break;
      }
      if (rc == Z_BUF_ERROR && z.avail_in == 0 && left > 0) continue;
      if (rc == Z_BUF_ERROR) Fail("unreadable archive data (the compressed data ends early)");
      if (rc != Z_OK) Fail("unreadable archive data (damaged compressed data)");
    }
  }
  if (written != current_size_) Fail("unreadable archive data (less than its stated size)");
  if (crc != current_.crc) Fail("unreadable archive data (CRC-32 mismatch)");
}

}  // namespace vmu::pack
