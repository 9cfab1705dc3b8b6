#include "tools/pack/package_format.h"

#include <algorithm>
#include <vector>

#include "tools/pack/file_io.h"
#include "tools/pack/sha256.h"

namespace vmu::pack {

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kCentralSize = 46;
constexpr const char* kSealPrefix = "VMU-SEAL 1 start=";

uint32_t Get(const uint8_t* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

void Put(uint8_t* p, int bytes, uint64_t value) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

// The end record's central directory: offset (as stored) and size.
struct Directory {
  uint64_t offset;
  uint64_t size;
  uint32_t entries;
};

Directory DirectoryOf(const uint8_t* end_record) {
  return {Get(end_record + 16, 4), Get(end_record + 12, 4), Get(end_record + 10, 2)};
}

[[noreturn]] void Damaged(const std::string& path, const std::string& why) {
  throw PackError(path + ": the package is damaged or incomplete (" + why + ")");
}

bool IsHex(const std::string& text) {
  for (char ch : text)
    if (!((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f'))) return false;
  return true;
}

}  // namespace

std::string HashRange(int fd, uint64_t begin, uint64_t end, const std::string& path) {
  Sha256 hash;
  std::vector<char> buffer(1 << 20);
  while (begin < end) {
    const auto n = static_cast<std::size_t>(std::min<uint64_t>(buffer.size(), end - begin));
    PreadAll(fd, buffer.data(), n, begin, path);
    hash.Update(buffer.data(), n);
    begin += n;
  }
  return hash.HexDigest();
}

void SealArchive(int fd, uint64_t archive_start, const std::string& path) {
  const uint64_t size = FileSize(fd, path);
  if (size < archive_start + kEndSize) throw PackError(path + ": the archive is missing");
  const uint64_t end_pos = size - kEndSize;
  uint8_t end_record[kEndSize];
  PreadAll(fd, end_record, kEndSize, end_pos, path);
  Directory dir = DirectoryOf(end_record);
  if (Get(end_record, 4) != kEndSignature || Get(end_record + 20, 2) != 0)
    throw PackError(path + ": the archive does not end in a plain zip end record");
  // Zip64 records (over 4 GB or 65,535 files) are not relocated here.
  if (dir.offset == 0xFFFFFFFF || dir.entries == 0xFFFF || archive_start + dir.offset + dir.size != end_pos)
    throw PackError(path + ": the archive is too large for a package (4 GB, 65,535 files)");

  std::vector<uint8_t> central(dir.size);
  PreadAll(fd, central.data(), central.size(), archive_start + dir.offset, path);
  std::size_t pos = 0;
  for (uint32_t i = 0; i < dir.entries; ++i) {
    if (pos + kCentralSize > central.size() || Get(&central[pos], 4) != kCentralSignature)
      throw PackError(path + ": the archive's central directory is malformed");
    uint8_t* offset = &central[pos + 42];
    const uint64_t moved = Get(offset, 4) + uint64_t{archive_start};
    if (Get(offset, 4) == 0xFFFFFFFF || moved >= 0xFFFFFFFF)
      throw PackError(path + ": the archive is too large for a package (4 GB)");
    Put(offset, 4, moved);
    pos += kCentralSize + Get(&central[pos + 28], 2) + Get(&central[pos + 30], 2) + Get(&central[pos + 32], 2);
  }
  if (archive_start + dir.offset >= 0xFFFFFFFF)
    throw PackError(path + ": the archive is too large for a package (4 GB)");
  PwriteAll(fd, central.data(), central.size(), archive_start + dir.offset, path);

  const std::string hash_placeholder(64, '0');
  const std::string comment_start = kSealPrefix + std::to_string(archive_start) + " sha256=";
  Put(end_record + 16, 4, archive_start + dir.offset);
  Put(end_record + 20, 2, comment_start.size() + hash_placeholder.size());
  PwriteAll(fd, end_record, kEndSize, end_pos, path);

  const std::string comment = comment_start + HashRange(fd, archive_start, size, path);
  PwriteAll(fd, comment.data(), comment.size(), size, path);
}

PackageLayout ReadSeal(int fd, const std::string& path) {
  const uint64_t size = FileSize(fd, path);
  // The seal is short: the end record is within the last few hundred bytes.
  const auto tail_size = static_cast<std::size_t>(std::min<uint64_t>(size, kEndSize + 256));
  std::vector<uint8_t> tail(tail_size);
  PreadAll(fd, tail.data(), tail.size(), size - tail_size, path);
  for (std::size_t p = tail_size >= kEndSize ? tail_size - kEndSize + 1 : 0; p-- > 0;) {
    if (Get(&tail[p], 4) != kEndSignature || p + kEndSize + Get(&tail[p + 20], 2) != tail_size) continue;
    const std::string comment(reinterpret_cast<const char*>(&tail[p + kEndSize]), tail_size - p - kEndSize);
    const std::string prefix = kSealPrefix;
    const std::size_t hash_at = comment.find(" sha256=");
    if (comment.compare(0, prefix.size(), prefix) != 0 || hash_at == std::string::npos) Damaged(path, "no seal");
    PackageLayout layout;
    layout.sealed_end = size - tail_size + p + kEndSize;
    const std::string start_text = comment.substr(prefix.size(), hash_at - prefix.size());
    if (start_text.empty() || start_text.size() > 15 || start_text.find_first_not_of("0123456789") != std::string::npos)
      Damaged(path, "malformed seal");
    layout.archive_start = std::stoull(start_text);
    layout.sha256 = comment.substr(hash_at + 8);
    const Directory dir = DirectoryOf(&tail[p]);
    if (layout.sha256.size() != 64 || !IsHex(layout.sha256) || layout.archive_start > dir.offset ||
        dir.offset + dir.size != layout.sealed_end - kEndSize)
      Damaged(path, "malformed seal");
    return layout;
  }
  Damaged(path, "no sealed archive at its end");
}

void VerifySeal(int fd, const PackageLayout& layout, const std::string& path) {
  if (HashRange(fd, layout.archive_start, layout.sealed_end, path) != layout.sha256)
    Damaged(path, "its contents do not match their SHA-256");
}

}  // namespace vmu::pack
