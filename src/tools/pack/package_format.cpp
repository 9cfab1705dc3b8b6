#include "tools/pack/package_format.h"

#include <algorithm>
#include <vector>

#include "platform/crypto/hashing.h"
#include "platform/crypto/package_verification.h"
#include "tools/pack/file_io.h"

namespace vmu::pack {

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr std::size_t kEndSize = package::kZipEndRecordSize;
constexpr std::size_t kCentralSize = 46;

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

}  // namespace

std::string HashRange(int fd, uint64_t begin, uint64_t end, const std::string& path) {
  crypto::Sha256 hash;
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
  Put(end_record + 16, 4, archive_start + dir.offset);
  PwriteAll(fd, end_record, kEndSize, end_pos, path);

  PackageLayout layout;
  layout.archive_start = archive_start;
  layout.end_record = end_pos;
  layout.comment_start = size;
  WriteSealLine(fd, layout, package::SealLine(archive_start, std::string(64, '0')).size(), path);
}

std::string WriteSealLine(int fd, const PackageLayout& layout, std::size_t comment_size, const std::string& path) {
  if (comment_size > 0xFFFF) throw PackError(path + ": the seal does not fit in the archive's comment");
  uint8_t length[2];
  Put(length, 2, comment_size);
  PwriteAll(fd, length, 2, layout.end_record + 20, path);
  const std::string line = package::SealLine(layout.archive_start, HashRange(fd, 0, layout.comment_start, path));
  PwriteAll(fd, line.data(), line.size(), layout.comment_start, path);
  return line;
}

PackageLayout ReadSeal(int fd, const std::string& path) {
  crypto::SealedPackage sealed;
  try {
    sealed = crypto::ReadPackageSeal(fd, path);
  } catch (const std::runtime_error& e) {
    throw PackError(e.what());
  }
  if (!sealed.found) Damaged(path, sealed.why);
  return sealed.seal;
}

void VerifySeal(int fd, const PackageLayout& layout, const std::string& path) {
  if (HashRange(fd, layout.hash_begin, layout.comment_start, path) != layout.sha256)
    Damaged(path, "its contents do not match their SHA-256");
}

}  // namespace vmu::pack
