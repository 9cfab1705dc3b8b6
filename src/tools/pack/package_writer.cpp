#include "tools/pack/package_writer.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <vector>

#include "tools/pack/file_io.h"
#include "tools/pack/package_format.h"
#include "tools/pack/package_signer.h"

namespace vmu::pack {

namespace {

constexpr std::size_t kBlock = 1 << 20;

void AppendFile(int out, const std::string& out_path, const std::string& from) {
  UniqueFd in = OpenForReading(from);
  std::vector<char> buffer(kBlock);
  for (;;) {
    const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RaiseErrno("cannot read", from);
    if (n == 0) return;
    WriteAll(out, buffer.data(), static_cast<std::size_t>(n), out_path);
  }
}

}  // namespace

void WriteThroughTemporary(const std::string& output, const std::function<void(int, const std::string&)>& write) {
  std::string temp = output + ".tmp-XXXXXX";
  UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
  // The temporary name means nothing to the user: name the output.
  if (fd.get() < 0) RaiseErrno("cannot create", output);
  try {
    write(fd.get(), temp);
    // A package is a program.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd.get(), 0777 & ~mask) != 0) RaiseErrno("cannot write", temp);
    if (::fsync(fd.get()) != 0) RaiseErrno("cannot write", temp);
    fd.Close(temp);
    if (::rename(temp.c_str(), output.c_str()) != 0) RaiseErrno("cannot create", output);
  } catch (...) {
    ::unlink(temp.c_str());
    throw;
  }
}

namespace {

struct Sink {
  int fd;
  std::string path;
  std::string error;
};

la_ssize_t WriteToSink(archive*, void* data, const void* buffer, size_t size) {
  auto* sink = static_cast<Sink*>(data);
  try {
    WriteAll(sink->fd, buffer, size, sink->path);
    return static_cast<la_ssize_t>(size);
  } catch (const PackError& e) {
    sink->error = e.what();
    return -1;
  }
}

void WriteZip(int fd, const std::string& path, const std::vector<SourceFile>& files) {
  std::unique_ptr<archive, int (*)(archive*)> zip(archive_write_new(), archive_write_free);
  Sink sink{fd, path, {}};
  const auto check = [&](int rc) {
    if (rc < ARCHIVE_OK)
      throw PackError(!sink.error.empty() ? sink.error : path + ": " + archive_error_string(zip.get()));
  };
  check(archive_write_set_format_zip(zip.get()));
  check(archive_write_zip_set_compression_deflate(zip.get()));
  // Large blocks, and no padding after the archive's end record.
  check(archive_write_set_bytes_per_block(zip.get(), kBlock));
  check(archive_write_set_bytes_in_last_block(zip.get(), 1));
  check(archive_write_open(zip.get(), &sink, nullptr, WriteToSink, nullptr));

  std::vector<char> buffer(kBlock);
  for (const SourceFile& file : files) {
    UniqueFd in = OpenForReading(file.host_path);
    struct stat st {};
    if (::fstat(in.get(), &st) != 0) RaiseErrno("cannot read", file.host_path);
    std::unique_ptr<archive_entry, void (*)(archive_entry*)> entry(archive_entry_new(), archive_entry_free);
    archive_entry_set_pathname_utf8(entry.get(), file.name.c_str());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), (st.st_mode & 0111) ? 0755 : 0644);
    archive_entry_set_size(entry.get(), st.st_size);
    archive_entry_set_mtime(entry.get(), st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    check(archive_write_header(zip.get(), entry.get()));
    uint64_t written = 0;
    for (;;) {
      const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) RaiseErrno("cannot read", file.host_path);
      if (n == 0) break;
      written += static_cast<uint64_t>(n);
      if (written > static_cast<uint64_t>(st.st_size)) break;
      if (archive_write_data(zip.get(), buffer.data(), static_cast<size_t>(n)) < 0) check(ARCHIVE_FATAL);
    }
    if (written != static_cast<uint64_t>(st.st_size))
      throw PackError(file.host_path + ": the file changed while it was being packed");
  }
  check(archive_write_close(zip.get()));
}

}  // namespace

void WritePackage(const std::string& unpacker, const std::vector<SourceFile>& files, const std::string& output,
                  const crypto::SecretKey* key) {
  WriteThroughTemporary(output, [&](int fd, const std::string& temp) {
    AppendFile(fd, temp, unpacker);
    const uint64_t start = FileSize(fd, temp);
    WriteZip(fd, temp, files);
    SealArchive(fd, start, temp);
    if (key) SignSealedPackage(fd, temp, *key, output.substr(output.rfind('/') + 1));
  });
}

}  // namespace vmu::pack
