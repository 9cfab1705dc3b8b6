#include "tools/pack/archive_reader.h"

#include <archive_entry.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/pack/file_io.h"

namespace vmu::pack {

ArchiveReader::ArchiveReader(int fd, std::string path)
    : path_(std::move(path)), archive_(archive_read_new(), archive_read_free) {
  // The seekable reader takes names and sizes from the central directory,
  // the record that zip tools list, and finds the archive from the end.
  if (archive_read_support_format_zip_seekable(archive_.get()) != ARCHIVE_OK) Fail("zip support");
  if (::lseek(fd, 0, SEEK_SET) != 0) RaiseErrno("cannot read", path_);
  if (archive_read_open_fd(archive_.get(), fd, 1 << 20) != ARCHIVE_OK) Fail("cannot open the archive");
}

void ArchiveReader::Fail(const std::string& what) {
  const char* detail = archive_error_string(archive_.get());
  throw PackError(path_ + ": " + what + (detail ? std::string(" (") + detail + ")" : ""));
}

bool ArchiveReader::Next(ArchiveEntry& entry) {
  archive_entry* e = nullptr;
  const int rc = archive_read_next_header(archive_.get(), &e);
  if (rc == ARCHIVE_EOF) return false;
  if (rc != ARCHIVE_OK) Fail("unreadable archive entry");
  const char* name = archive_entry_pathname_utf8(e);
  if (!name) name = archive_entry_pathname(e);
  entry.name = name ? name : "";
  entry.regular = archive_entry_filetype(e) == AE_IFREG;
  entry.link = archive_entry_filetype(e) == AE_IFLNK || archive_entry_symlink(e) != nullptr ||
               archive_entry_hardlink(e) != nullptr;
  entry.size_known = archive_entry_size_is_set(e) != 0;
  entry.size = entry.size_known ? static_cast<uint64_t>(archive_entry_size(e)) : 0;
  entry.perm = archive_entry_perm(e);
  entry.has_mtime = archive_entry_mtime_is_set(e) != 0;
  entry.mtime = {archive_entry_mtime(e), archive_entry_mtime_nsec(e)};
  return true;
}

void ArchiveReader::ReadData(const std::function<void(const void*, std::size_t, uint64_t)>& sink) {
  for (;;) {
    const void* block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    const int rc = archive_read_data_block(archive_.get(), &block, &size, &offset);
    if (rc == ARCHIVE_EOF) return;
    if (rc != ARCHIVE_OK) Fail("unreadable archive data");
    sink(block, size, static_cast<uint64_t>(offset));
  }
}

}  // namespace vmu::pack
