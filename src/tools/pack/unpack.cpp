#include "tools/pack/unpack.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <vector>

#include "package/bare_name.h"
#include "platform/crypto/hashing.h"
#include "platform/host/name_match.h"
#include "tools/pack/archive_reader.h"
#include "tools/pack/file_io.h"
#include "tools/pack/package_format.h"

namespace vmu::pack {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Windows allows 255 UTF-16 units in one name; the host 255 bytes.
constexpr std::size_t kLongestName = 255;

std::size_t Utf16Units(const std::string& utf8) {
  std::size_t units = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++units;  // a sequence starts
    if ((c & 0xF8) == 0xF0) ++units;  // beyond the basic plane: a surrogate pair
  }
  return units;
}

// Every entry, refused as a whole at the first one that is unsafe.
std::vector<ArchiveEntry> CheckedEntries(int fd, const std::string& package) {
  std::vector<ArchiveEntry> entries;
  std::map<std::u32string, std::string> seen;
  ArchiveReader reader(fd, package);
  ArchiveEntry entry;
  while (reader.Next(entry)) {
    const std::string refused = package + ": refused: the entry " + Quoted(entry.name) + " ";
    if (auto problem = package::NameProblem(entry.name)) throw PackError(refused + *problem);
    if (entry.link) throw PackError(refused + "is a link");
    if (!entry.regular) throw PackError(refused + "is not a plain file");
    if (entry.name.size() > kLongestName || Utf16Units(entry.name) > kLongestName)
      throw PackError(refused + "has a name longer than Windows allows");
    if (!entry.size_known) throw PackError(refused + "does not state its size");
    auto [it, added] = seen.emplace(FoldedName(entry.name), entry.name);
    if (!added) throw PackError(refused + "and " + Quoted(it->second) + " differ only in letter case");
    entries.push_back(entry);
  }
  return entries;
}

// The stated sizes against the limit and the room in the folder, before
// anything is written: a few bytes of archive must not fill the disk.
void CheckSizes(const std::string& package, const std::string& folder, const std::vector<ArchiveEntry>& entries,
                uint64_t limit) {
  uint64_t total = 0;
  for (const ArchiveEntry& entry : entries) {
    if (entry.size > limit - total)
      throw PackError(package + ": refused: its files together are larger than " + std::to_string(limit) + " bytes");
    total += entry.size;
  }
  struct statvfs vfs {};
  std::string existing = folder;
  while (::statvfs(existing.c_str(), &vfs) != 0) {
    const std::size_t slash = existing.find_last_of('/');
    if (slash == std::string::npos || slash == 0) {
      existing = "/";
      if (::statvfs(existing.c_str(), &vfs) != 0) return;
      break;
    }
    existing.resize(slash);
  }
  const uint64_t room = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
  if (total > room)
    throw PackError(folder + ": refused: the files need " + std::to_string(total) + " bytes, the disk has " +
                    std::to_string(room));
}

// Nothing is written through a link or over a folder already in the target.
void CheckTargets(const std::string& folder, const std::vector<ArchiveEntry>& entries) {
  for (const ArchiveEntry& entry : entries) {
    struct stat st {};
    const std::string path = folder + "/" + entry.name;
    if (::lstat(path.c_str(), &st) != 0) continue;
    if (S_ISLNK(st.st_mode)) throw PackError(path + ": refused: a link is in the way");
    if (!S_ISREG(st.st_mode)) throw PackError(path + ": refused: something other than a file is in the way");
  }
}

class TemporaryFiles {
 public:
  explicit TemporaryFiles(int dir) : dir_(dir) {}
  ~TemporaryFiles() {
    for (const std::string& name : names_) ::unlinkat(dir_, name.c_str(), 0);
  }

  // A new file under a hidden name (no "normal file" of the wizard).
  UniqueFd Create(const std::string& folder, unsigned perm) {
    for (int attempt = 0;; ++attempt) {
      std::string name = ".vmu-unpack-" + std::to_string(::getpid()) + "-" + std::to_string(names_.size()) + "-" +
                         std::to_string(attempt);
      UniqueFd fd(::openat(dir_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                           (perm & 0111) ? 0777 : 0666));
      if (fd.get() >= 0) {
        names_.push_back(name);
        return fd;
      }
      if (errno != EEXIST || attempt == 20) RaiseErrno("cannot write", folder + "/" + name);
    }
  }

  // Gives every file its name, all or none: a file already under a name is
  // kept aside until every rename has worked, and on a failure each rename
  // is undone. The list is spent.
  void Rename(const std::string& folder, const std::vector<ArchiveEntry>& entries) {
    std::vector<std::pair<std::string, std::string>> aside;  // name, hidden name
    std::size_t renamed = 0;
    const auto undo = [&] {
      while (renamed > 0) {
        --renamed;
        ::renameat(dir_, entries[renamed].name.c_str(), dir_, names_[renamed].c_str());
      }
      for (const auto& [name, hidden] : aside) ::renameat(dir_, hidden.c_str(), dir_, name.c_str());
    };
    for (; renamed < names_.size(); ++renamed) {
      const std::string& name = entries[renamed].name;
      struct stat st {};
      if (::fstatat(dir_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        std::string hidden = names_[renamed] + "-old";
        if (::renameat(dir_, name.c_str(), dir_, hidden.c_str()) != 0) {
          const int err = errno;
          undo();
          errno = err;
          RaiseErrno("cannot write", folder + "/" + name);
        }
        aside.emplace_back(name, std::move(hidden));
      }
      if (::renameat(dir_, names_[renamed].c_str(), dir_, name.c_str()) != 0) {
        const int err = errno;
        undo();
        errno = err;
        RaiseErrno("cannot write", folder + "/" + name);
      }
    }
    for (const auto& [name, hidden] : aside) ::unlinkat(dir_, hidden.c_str(), 0);
    names_.clear();
  }

 private:
  int dir_;
  std::vector<std::string> names_;
};

std::vector<package::UnpackedFile> WriteEntries(int fd, const std::string& package, const std::string& folder,
                                                const std::vector<ArchiveEntry>& entries) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() < 0) RaiseErrno("cannot open the folder", folder);

  TemporaryFiles temporaries(dir.get());
  std::vector<package::UnpackedFile> written;
  ArchiveReader reader(fd, package);
  ArchiveEntry entry;
  for (const ArchiveEntry& expected : entries) {
    // The second reading must see the very entries the first one checked.
    if (!reader.Next(entry) || entry.name != expected.name || !entry.regular || entry.link)
      throw PackError(package + ": the archive changed while it was being unpacked");
    const std::string target = folder + "/" + entry.name;
    UniqueFd out = temporaries.Create(folder, entry.perm);
    uint64_t end = 0;
    crypto::Sha256 sha;
    reader.ReadData([&](const void* data, std::size_t size, uint64_t offset) {
      if (entry.size_known && offset + size > entry.size)
        throw PackError(package + ": refused: the entry " + Quoted(entry.name) + " holds more than its stated size");
      // The report hashes the bytes as written; they arrive in order.
      if (offset != end) throw PackError(package + ": refused: the entry " + Quoted(entry.name) + " is not in order");
      PwriteAll(out.get(), data, size, offset, target);
      sha.Update(data, size);
      end = std::max(end, offset + size);
    });
    if (entry.size_known && end != entry.size)
      throw PackError(package + ": refused: the entry " + Quoted(entry.name) + " holds less than its stated size");
    if (entry.has_mtime) {
      const timespec times[2] = {{0, UTIME_OMIT}, entry.mtime};
      ::futimens(out.get(), times);
    }
    out.Close(target);
    written.push_back({entry.name, end, sha.HexDigest()});
  }
  if (reader.Next(entry)) throw PackError(package + ": the archive changed while it was being unpacked");
  temporaries.Rename(folder, entries);
  return written;
}

}  // namespace

std::vector<package::UnpackedFile> UnpackPackage(const std::string& package, const std::string& folder,
                                                 uint64_t size_limit) {
  UniqueFd fd = OpenForReading(package);
  VerifySeal(fd.get(), ReadSeal(fd.get(), package), package);
  const std::vector<ArchiveEntry> entries = CheckedEntries(fd.get(), package);
  CheckSizes(package, folder, entries, size_limit);
  CheckTargets(folder, entries);
  return WriteEntries(fd.get(), package, folder, entries);
}

}  // namespace vmu::pack
