// The zip archive of a package, read from the package file itself (its
// offsets count from the file's start). A small reader of its own, on zlib
// alone, so that the unpacker depends on nothing but the C library: stored
// and deflated entries, names and sizes from the central directory (the
// record that zip tools list), each entry's CRC-32 checked.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace vmu::pack {

struct ArchiveEntry {
  std::string name;  // UTF-8
  bool regular = false;
  bool link = false;  // a symbolic or hard link
  bool size_known = false;
  uint64_t size = 0;
  unsigned perm = 0;
  bool has_mtime = false;
  timespec mtime{};
};

class ArchiveReader {
 public:
  // fd stays owned by the caller and must outlive the reader. Raises
  // PackError when the file holds no readable zip archive.
  ArchiveReader(int fd, std::string path);

  // The next entry, or false at the end. Raises PackError.
  bool Next(ArchiveEntry& entry);

  // The current entry's data in blocks: sink(data, size, offset in the entry).
  void ReadData(const std::function<void(const void*, std::size_t, uint64_t)>& sink);

 private:
  struct Where {
    uint16_t method = 0;
    uint32_t crc = 0;
    uint64_t compressed = 0;
    uint64_t local_header = 0;
  };
  [[noreturn]] void Fail(const std::string& what) const;
  int fd_;
  std::string path_;
  uint64_t directory_start_ = 0;
  std::vector<uint8_t> directory_;
  std::size_t next_ = 0;
  uint32_t remaining_ = 0;
  Where current_;
  uint64_t current_size_ = 0;
  bool has_current_ = false;
  std::vector<uint8_t> in_, out_;
};

}  // namespace vmu::pack
