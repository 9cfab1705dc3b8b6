// The zip archive of a package, read through libarchive from the package
// file itself (its offsets count from the file's start).
#pragma once

#include <archive.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

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
  // fd stays owned by the caller and must outlive the reader.
  ArchiveReader(int fd, std::string path);

  // The next entry, or false at the end. Raises PackError.
  bool Next(ArchiveEntry& entry);

  // The current entry's data in blocks: sink(data, size, offset in the file).
  void ReadData(const std::function<void(const void*, std::size_t, uint64_t)>& sink);

 private:
  [[noreturn]] void Fail(const std::string& what);
  std::string path_;
  std::unique_ptr<archive, int (*)(archive*)> archive_;
};

}  // namespace vmu::pack
