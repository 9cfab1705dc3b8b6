#include "platform/host/host_file_system.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>

#include "platform/error.h"
#include "platform/file_identity.h"
#include "platform/host/name_match.h"
#include "platform/text_encoding.h"

namespace vmu {

namespace {

[[noreturn]] void RaiseErrno(int err, const std::string& host_path) { Raise(ErrorNumberForErrno(err, host_path)); }

std::string ParentOf(const std::string& host_path) {
  const std::size_t slash = host_path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : host_path.substr(0, slash);
}

std::string BaseName(const std::string& host_path) {
  const std::size_t slash = host_path.find_last_of('/');
  return slash == std::string::npos ? host_path : host_path.substr(slash + 1);
}

bool IsFolder(const std::string& host_path) {
  struct stat st;
  return stat(host_path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Closes the descriptor on every way out.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now and reports a failure: a failed close may mean lost data.
  int Close() {
    const int rc = close(fd_);
    fd_ = -1;
    return rc == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

// Writes everything or returns the errno of the failure.
int WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

// rename() that never replaces: 0, or the errno of the failure (EEXIST when
// the target exists). Falls back to a hard link, which refuses an existing
// name just as well, where the file system lacks the atomic call; without
// links either, it looks first.
int RenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  int err = errno;
  if (err != EINVAL && err != ENOSYS && err != EOPNOTSUPP) return err;
  if (link(from.c_str(), to.c_str()) == 0) {
    unlink(from.c_str());
    return 0;
  }
  err = errno;
  if (err == EEXIST || err == EXDEV) return err;
  struct stat st;
  if (lstat(to.c_str(), &st) == 0) return EEXIST;
  return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// A free-looking name for a temporary file beside a target; a start-up after
// a crash recognises and removes what is left under such a name.
std::string TempNameBeside(const std::string& target) {
  static thread_local std::mt19937 random{std::random_device{}()};
  return ParentOf(target) + "/." + BaseName(target).substr(0, 100) + ".vmu-" + std::to_string(random() % 1000000000);
}

// A new file beside a target, written first and renamed over the target at
// the end, so the target is replaced whole or not at all. Removed unless
// committed. Its name starts with a dot: listings never show it.
class TempBeside {
 public:
  TempBeside(const std::string& target, mode_t mode) : target_(target) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::string path = TempNameBeside(target);
      const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
      if (fd >= 0) {
        fd_ = std::make_unique<Fd>(fd);
        path_ = path;
        return;
      }
      if (errno != EEXIST) RaiseErrno(errno, target);
    }
    RaiseErrno(EEXIST, target);
  }
  ~TempBeside() {
    fd_.reset();
    if (!committed_) unlink(path_.c_str());
  }
  TempBeside(const TempBeside&) = delete;
  TempBeside& operator=(const TempBeside&) = delete;

  int fd() const { return fd_->get(); }

  void Write(const char* data, std::size_t size) {
    if (const int err = WriteAll(fd(), data, size)) RaiseErrno(err, target_);
  }

  // Flushes to disk, then renames over the target.
  void Commit() {
    Flush();
    if (rename(path_.c_str(), target_.c_str()) != 0) RaiseErrno(errno, target_);
    committed_ = true;
    SyncFolder();
  }

  // Renames over the target without waiting for the disk: for bulk copies,
  // whose caller flushes once when the whole batch is written.
  void CommitLater() {
    if (const int err = fd_->Close()) RaiseErrno(err, target_);
    if (rename(path_.c_str(), target_.c_str()) != 0) RaiseErrno(errno, target_);
    committed_ = true;
  }

  // Flushes to disk, then takes the target name only if it is free (58).
  void CommitNoReplace() {
    Flush();
    if (const int err = RenameNoReplace(path_, target_))
      Raise(err == EEXIST ? kFileAlreadyExists : ErrorNumberForErrno(err, target_));
    committed_ = true;
    SyncFolder();
  }

 private:
  void Flush() {
    if (fsync(fd()) != 0) RaiseErrno(errno, target_);
    if (const int err = fd_->Close()) RaiseErrno(err, target_);
  }

  // Makes the rename itself durable; a failure here loses nothing yet.
  void SyncFolder() {
    const int dir = open(ParentOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
  }

  std::string target_;
  std::string path_;
  std::unique_ptr<Fd> fd_;
  bool committed_ = false;
};

void CopyContent(int in, const std::string& source, TempBeside& out) {
  // In the kernel where it can (no trip through user space)...
  for (;;) {
    const ssize_t n = copy_file_range(in, nullptr, out.fd(), nullptr, 1 << 30, 0);
    if (n > 0) continue;
    if (n == 0) return;
    if (errno == EINTR) continue;
    if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) RaiseErrno(errno, source);
    break;
  }
  // ...else through a buffer, from where the kernel stopped.
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RaiseErrno(errno, source);
    if (n == 0) return;
    out.Write(buffer, static_cast<std::size_t>(n));
  }
}

// The file a replacement should land on: a symbolic link is kept and the
// file it points to replaced, so a linked file stays linked.
std::string ReplacementTarget(const std::string& host_path) {
  struct stat st;
  if (lstat(host_path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* real = realpath(host_path.c_str(), nullptr)) {
      std::string resolved = real;
      free(real);
      return resolved;
    }
  }
  return host_path;
}

// The new file gets the old one's owner (when we may set it) and mode.
void KeepAttributes(int fd, const struct stat& old) {
  if (old.st_uid != geteuid() || old.st_gid != getegid()) {
    if (fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Not ours to give away; the file still gets the old mode below.
    }
  }
  fchmod(fd, old.st_mode & 07777);
}

struct Pattern {
  std::string folder;  // Windows form; empty means the current folder
  std::string name;    // wildcard pattern for the names in it
};

Pattern SplitPattern(const std::string& pattern) {
  const std::size_t sep = pattern.find_last_of("\\/");
  if (sep != std::string::npos) return {pattern.substr(0, sep + 1), pattern.substr(sep + 1)};
  if (pattern.size() >= 2 && pattern[1] == ':') return {pattern.substr(0, 2), pattern.substr(2)};
  return {"", pattern};
}

// The normal files of a host folder whose names match, sorted without regard
// to case; errno of the failure in err (and nothing) when the folder cannot
// be read.
std::vector<std::string> MatchingFiles(const std::string& folder, const std::string& pattern, int& err) {
  err = 0;
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (!dir) {
    err = errno;
    return names;
  }
  // Each name folded once, for the match and the order alike (without
  // regard to case, ties broken by the bytes).
  const std::u32string folded_pattern = FoldedName(pattern);
  std::vector<std::pair<std::u32string, std::string>> found;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name.empty() || name[0] == '.') continue;
    std::u32string folded = FoldedName(name);
    if (!FoldedWildcardMatch(folded_pattern, folded)) continue;
    struct stat st;
    if (fstatat(dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
      found.emplace_back(std::move(folded), std::move(name));
  }
  closedir(dir);
  std::sort(found.begin(), found.end());
  for (auto& entry : found) names.push_back(std::move(entry.second));
  return names;
}

}  // namespace

int ErrorNumberForErrno(int err, const std::string& host_path) {
  switch (err) {
    case ENOENT: return IsFolder(ParentOf(host_path)) ? kFileNotFound : kPathNotFound;
    case ENOTDIR: return kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY: return kPermissionDenied;
    case ENOSPC:
    case EDQUOT: return kDiskFull;
    case ENAMETOOLONG:
    case EINVAL: return kBadFileName;
    default: return kPathFileAccessError;  // EEXIST, ENOTEMPTY, EISDIR and the rest
  }
}

bool HostFileSystem::FileExists(const std::string& path) {
  try {
    const std::string host = map_.ToHost(path);
    struct stat st;
    return stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode) && BaseName(host)[0] != '.';
  } catch (const VbError&) {
    return false;
  }
}

bool HostFileSystem::FolderExists(const std::string& path) {
  try {
    return IsFolder(map_.ToHost(path));
  } catch (const VbError&) {
    return false;
  }
}

bool HostFileSystem::IsLink(const std::string& path) {
  try {
    std::string host = map_.ToHost(path);
    while (host.size() > 1 && host.back() == '/') host.pop_back();
    struct stat st;
    return lstat(host.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
  } catch (const VbError&) {
    return false;
  }
}

std::vector<std::string> HostFileSystem::ListFiles(const std::string& pattern) {
  const Pattern parts = SplitPattern(pattern);
  const std::string folder = map_.ToHost(parts.folder.empty() ? "." : parts.folder);
  int err;
  std::vector<std::string> names = MatchingFiles(folder, parts.name.empty() ? "*" : parts.name, err);
  if (err != 0 && err != ENOENT && err != ENOTDIR) RaiseErrno(err, folder);
  return names;
}

void HostFileSystem::MakeFolder(const std::string& path) {
  const std::string host = map_.ToHost(path);
  if (mkdir(host.c_str(), 0777) != 0) RaiseErrno(errno, host);
}

void HostFileSystem::RemoveFolder(const std::string& path) {
  const std::string host = map_.ToHost(path);
  const std::string windows = map_.ToWindows(host);
  // A drive's root is never removed, even when it is empty.
  if (windows.size() == 3) Raise(kPathFileAccessError);
  if (rmdir(host.c_str()) != 0) Raise(errno == ENOENT ? kPathNotFound : ErrorNumberForErrno(errno, host));
}

void HostFileSystem::DeleteFile(const std::string& path) {
  const std::string host = map_.ToHost(path);
  if (unlink(host.c_str()) != 0) RaiseErrno(errno, host);
}

void HostFileSystem::MoveFile(const std::string& from, const std::string& to) {
  const std::string source = map_.ToHost(from);
  const std::string target = map_.ToHost(to);
  struct stat st;
  if (lstat(source.c_str(), &st) != 0) RaiseErrno(errno, source);
  if (source == target) return;  // the same file: nothing to rename

  const int err = RenameNoReplace(source, target);
  if (err == 0) return;
  if (err == EEXIST) Raise(kFileAlreadyExists);
  if (err != EXDEV || !S_ISREG(st.st_mode)) RaiseErrno(err, target);
  // Another drive on another file system: copy whole, then let go of the source.
  struct stat existing;
  if (lstat(target.c_str(), &existing) == 0) Raise(kFileAlreadyExists);
  Fd in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) RaiseErrno(errno, source);
  TempBeside temp(target, 0600);
  CopyContent(in.get(), source, temp);
  KeepAttributes(temp.fd(), st);
  temp.CommitNoReplace();
  if (unlink(source.c_str()) != 0) RaiseErrno(errno, source);
}

void HostFileSystem::CopyFile(const std::string& from, const std::string& to) {
  const std::string source = map_.ToHost(from);
  const std::string target = ReplacementTarget(map_.ToHost(to));
  Fd in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) RaiseErrno(errno, source);
  struct stat st;
  if (fstat(in.get(), &st) != 0) RaiseErrno(errno, source);
  if (!S_ISREG(st.st_mode)) Raise(kPathFileAccessError);
  struct stat existing;
  if (stat(target.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) Raise(kPathFileAccessError);

  TempBeside temp(target, 0600);
  CopyContent(in.get(), source, temp);
  // Permission bits only: an executable stays executable, but a copy never
  // gains set-user or set-group rights.
  fchmod(temp.fd(), st.st_mode & 0777);
  temp.CommitLater();
}

void HostFileSystem::PlaceFile(const std::string& from, const std::string& to, int mode, const std::string& identity) {
  const std::string source = map_.ToHost(from);
  const std::string target = ReplacementTarget(map_.ToHost(to));
  Fd in(open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  struct stat st;
  if (in.get() < 0 || fstat(in.get(), &st) != 0) RaiseErrno(errno, source);
  if (!S_ISREG(st.st_mode)) Raise(kPathFileAccessError);
  if (!identity.empty() && identity != FileIdentityText(st.st_dev, st.st_ino, static_cast<uint64_t>(st.st_size),
                                                        st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec,
                                                        st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec))
    Raise(kPathFileAccessError);
  if (IsFolder(target)) Raise(kPathFileAccessError);
  // From here on only the file opened is used, never the name again.
  const auto copy = [&] {
    TempBeside temp(target, 0600);
    CopyContent(in.get(), source, temp);
    if (fchmod(temp.fd(), static_cast<mode_t>(mode & 0777)) != 0) RaiseErrno(errno, target);
    temp.CommitLater();
  };
  // A second name of a file that has one already (placed twice, or linked by
  // someone else) would tie two installed files together: those are copied.
  if (st.st_nlink != 1 || fchmod(in.get(), static_cast<mode_t>(mode & 0777)) != 0) return copy();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string temp = TempNameBeside(target);
    if (linkat(AT_FDCWD, source.c_str(), AT_FDCWD, temp.c_str(), 0) != 0) {
      if (errno == EEXIST) continue;
      return copy();  // another file system, or one without links
    }
    // The name linked must be the file opened: another file put under the
    // source's name meanwhile is neither linked nor copied.
    struct stat linked;
    if (lstat(temp.c_str(), &linked) != 0 || linked.st_dev != st.st_dev || linked.st_ino != st.st_ino) {
      unlink(temp.c_str());
      Raise(kPathFileAccessError);
    }
    if (rename(temp.c_str(), target.c_str()) != 0) {
      const int err = errno;
      unlink(temp.c_str());
      RaiseErrno(err, target);
    }
    return;
  }
  copy();
}

bool HostFileSystem::LinkFile(const std::string& from, const std::string& to) {
  const std::string source = map_.ToHost(from);
  const std::string target = map_.ToHost(to);
  // The file a symbolic link names, not the link: the backup must keep the
  // old bytes when the link's file is replaced.
  if (linkat(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  const int err = errno;
  if (err == EXDEV || err == EPERM || err == EOPNOTSUPP || err == EMLINK) return false;
  if (err == EEXIST) Raise(kFileAlreadyExists);
  if (err == ENOENT) {
    struct stat st;
    RaiseErrno(err, stat(source.c_str(), &st) != 0 ? source : target);
  }
  RaiseErrno(err, target);
}

namespace {

void SyncHostFile(const std::string& host) {
  Fd fd(open(host.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) RaiseErrno(errno, host);
  if (fsync(fd.get()) != 0) RaiseErrno(errno, host);
  if (const int err = fd.Close()) RaiseErrno(err, host);
}

}  // namespace

void HostFileSystem::SyncFile(const std::string& path) { SyncHostFile(map_.ToHost(path)); }

namespace {

// Local file systems whose syncfs writes and waits for every dirty file and
// commits and flushes the disk's cache: there one syncfs can stand for many
// fsyncs. Elsewhere (network, FUSE, unknown) each file gets its own fsync,
// which those pass on to where the bytes are kept.
bool SyncfsCoversFiles(int fd) {
  struct statfs fs;
  if (fstatfs(fd, &fs) != 0) return false;
  switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53:      // ext2, ext3, ext4
    case 0x58465342:  // xfs
    case 0x9123683E:  // btrfs
    case 0xF2F52010:  // f2fs
      return true;
    default: return false;
  }
}

}  // namespace

void HostFileSystem::SyncFiles(const std::vector<std::string>& paths) {
  std::vector<std::string> hosts;
  for (const std::string& path : paths) hosts.push_back(map_.ToHost(path));
  // An fsync each would cost a journal commit and a flush of the disk's
  // cache each: on ext4 a good part of a second for a thousand small files.
  // Instead every file's writing is started, then each is waited for (which
  // reports a failure of its own), then one syncfs per file system commits
  // their metadata and flushes the cache once.
  for (const std::string& host : hosts) {
    Fd fd(open(host.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() >= 0) sync_file_range(fd.get(), 0, 0, SYNC_FILE_RANGE_WRITE);  // failures: the next pass's
  }
  std::vector<std::pair<dev_t, std::string>> file_systems;  // one file of each
  for (const std::string& host : hosts) {
    Fd fd(open(host.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (fd.get() < 0 || fstat(fd.get(), &st) != 0) RaiseErrno(errno, host);
    const unsigned flags = SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
    bool waited = false;
    if (SyncfsCoversFiles(fd.get())) {
      waited = sync_file_range(fd.get(), 0, 0, flags) == 0;
      // A write failure reported here would not be reported again to this descriptor's fsync.
      if (!waited && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) RaiseErrno(errno, host);
    }
    if (!waited) {
      if (fsync(fd.get()) != 0) RaiseErrno(errno, host);
    } else if (std::none_of(file_systems.begin(), file_systems.end(),
                            [&](const auto& f) { return f.first == st.st_dev; })) {
      file_systems.emplace_back(st.st_dev, host);
    }
    if (const int err = fd.Close()) RaiseErrno(err, host);
  }
  for (const auto& [dev, host] : file_systems) {
    Fd fd(open(host.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) RaiseErrno(errno, host);
    if (syncfs(fd.get()) != 0) RaiseErrno(errno, host);
  }
}

void HostFileSystem::SyncFolder(const std::string& folder) {
  const std::string host = map_.ToHost(folder);
  Fd fd(open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0) Raise(errno == ENOENT || errno == ENOTDIR ? kPathNotFound : ErrorNumberForErrno(errno, host));
  // Some file systems cannot sync a folder (EINVAL); their names are durable as written.
  if (fsync(fd.get()) != 0 && errno != EINVAL) RaiseErrno(errno, host);
}

int HostFileSystem::FileMode(const std::string& path) {
  const std::string host = map_.ToHost(path);
  struct stat st;
  if (stat(host.c_str(), &st) != 0) RaiseErrno(errno, host);
  return static_cast<int>(st.st_mode & 0777);
}

void HostFileSystem::SetFileMode(const std::string& path, int mode) {
  const std::string host = map_.ToHost(path);
  if (chmod(host.c_str(), static_cast<mode_t>(mode & 0777)) != 0) RaiseErrno(errno, host);
}

std::uint64_t HostFileSystem::FileSize(const std::string& path) {
  const std::string host = map_.ToHost(path);
  struct stat st;
  if (stat(host.c_str(), &st) != 0) RaiseErrno(errno, host);
  return static_cast<std::uint64_t>(st.st_size);
}

namespace {

// The folder itself or, when it does not exist yet, its nearest existing parent.
std::string ExistingFolder(std::string host) {
  while (!IsFolder(host)) {
    if (host == "/" || host == "." || host.empty()) Raise(kPathNotFound);
    host = ParentOf(host);
  }
  return host;
}

// A name an interrupted TempBeside (".name.vmu-123") or unpacker (".vmu-unpack-...") leaves.
bool IsLeftTemporary(const std::string& name) {
  if (name.rfind(".vmu-unpack-", 0) == 0) return true;
  if (name.empty() || name[0] != '.') return false;
  const std::size_t mark = name.rfind(".vmu-");
  if (mark == std::string::npos || mark == 0 || mark + 5 == name.size()) return false;
  return name.find_first_not_of("0123456789", mark + 5) == std::string::npos;
}

}  // namespace

std::uint64_t HostFileSystem::FreeSpace(const std::string& folder) {
  const std::string host = ExistingFolder(map_.ToHost(folder));
  if (pretended_free_) return *pretended_free_;
  struct statvfs vfs;
  if (statvfs(host.c_str(), &vfs) != 0) RaiseErrno(errno, host);
  return static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
}

std::string HostFileSystem::VolumeOf(const std::string& folder) {
  const std::string host = ExistingFolder(map_.ToHost(folder));
  struct stat st;
  if (stat(host.c_str(), &st) != 0) RaiseErrno(errno, host);
  return std::to_string(static_cast<unsigned long long>(st.st_dev));
}

std::vector<std::string> HostFileSystem::ListTemporaryFiles(const std::string& folder) {
  const std::string host = map_.ToHost(folder);
  std::vector<std::string> names;
  DIR* dir = opendir(host.c_str());
  if (!dir) {
    if (errno == ENOENT || errno == ENOTDIR) return names;
    RaiseErrno(errno, host);
  }
  while (dirent* entry = readdir(dir)) {
    if (IsLeftTemporary(entry->d_name)) names.push_back(entry->d_name);
  }
  closedir(dir);
  return names;
}

void HostFileSystem::AllowExecution(const std::string& path) {
  const std::string host = map_.ToHost(path);
  struct stat st;
  if (stat(host.c_str(), &st) != 0) RaiseErrno(errno, host);
  // Execute wherever read is allowed, as for a program a user installs.
  const mode_t wanted = st.st_mode | ((st.st_mode & 0444) >> 2);
  if (wanted != st.st_mode && chmod(host.c_str(), wanted & 07777) != 0) RaiseErrno(errno, host);
}

void HostFileSystem::AppendLine(const std::string& path, const std::string& text) {
  const std::string host = map_.ToHost(path);
  const std::string line = Utf8ToCp1252(text) + "\r\n";
  Fd fd(open(host.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
  if (fd.get() < 0) RaiseErrno(errno, host);
  if (const int err = WriteAll(fd.get(), line.data(), line.size())) RaiseErrno(err, host);
  if (const int err = fd.Close()) RaiseErrno(err, host);
}

std::string HostFileSystem::ReadBytes(const std::string& path) {
  const std::string host = map_.ToHost(path);
  Fd fd(open(host.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) RaiseErrno(errno, host);
  struct stat st;
  if (fstat(fd.get(), &st) != 0) RaiseErrno(errno, host);
  if (S_ISDIR(st.st_mode)) Raise(kPathFileAccessError);
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RaiseErrno(errno, host);
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

void HostFileSystem::ReplaceBytes(const std::string& path, const std::string& bytes) {
  const std::string target = ReplacementTarget(map_.ToHost(path));
  struct stat old;
  const bool had_file = stat(target.c_str(), &old) == 0;
  if (had_file && S_ISDIR(old.st_mode)) Raise(kPathFileAccessError);
  // A new file gets the usual mode (0666 less the umask), an old one keeps its own.
  TempBeside temp(target, 0666);
  if (had_file) KeepAttributes(temp.fd(), old);
  temp.Write(bytes.data(), bytes.size());
  temp.Commit();
}

std::string HostFileSystem::HostPath(const std::string& path) { return map_.ToHost(path); }

std::string HostFileSystem::WindowsPath(const std::string& host_path) { return map_.ToWindows(host_path); }

}  // namespace vmu
