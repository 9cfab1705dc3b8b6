#include "tools/pack/unpack.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <vector>

#include "package/bare_name.h"
#include "platform/host/name_match.h"
#include "tools/pack/archive_reader.h"
#include "tools/pack/file_io.h"
#include "tools/pack/package_format.h"

namespace vmu::pack {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

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
    auto [it, added] = seen.emplace(FoldedName(entry.name), entry.name);
    if (!added) throw PackError(refused + "and " + Quoted(it->second) + " differ only in letter case");
    entries.push_back(entry);
  }
  return entries;
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

  // Gives every file its name; the list is spent.
  void Rename(const std::string& folder, const std::vector<ArchiveEntry>& entries) {
    for (std::size_t i = 0; i < names_.size(); ++i)
      if (::renameat(dir_, names_[i].c_str(), dir_, entries[i].name.c_str()) != 0)
        RaiseErrno("cannot write", folder + "/" + entries[i].name);
    names_.clear();
  }

 private:
  int dir_;
  std::vector<std::string> names_;
};

void WriteEntries(int fd, const std::string& package, const std::string& folder,
                  const std::vector<ArchiveEntry>& entries) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() < 0) RaiseErrno("cannot open the folder", folder);

  TemporaryFiles temporaries(dir.get());
  ArchiveReader reader(fd, package);
  ArchiveEntry entry;
  for (const ArchiveEntry& expected : entries) {
    // The second reading must see the very entries the first one checked.
    if (!reader.Next(entry) || entry.name != expected.name || !entry.regular || entry.link)
      throw PackError(package + ": the archive changed while it was being unpacked");
    const std::string target = folder + "/" + entry.name;
    UniqueFd out = temporaries.Create(folder, entry.perm);
    uint64_t end = 0;
    reader.ReadData([&](const void* data, std::size_t size, uint64_t offset) {
      if (entry.size_known && offset + size > entry.size)
        throw PackError(package + ": refused: the entry " + Quoted(entry.name) + " holds more than its stated size");
      PwriteAll(out.get(), data, size, offset, target);
      end = std::max(end, offset + size);
    });
    if (entry.size_known && end != entry.size)
      throw PackError(package + ": refused: the entry " + Quoted(entry.name) + " holds less than its stated size");
    if (entry.has_mtime) {
      const timespec times[2] = {{0, UTIME_OMIT}, entry.mtime};
      ::futimens(out.get(), times);
    }
    out.Close(target);
  }
  if (reader.Next(entry)) throw PackError(package + ": the archive changed while it was being unpacked");
  temporaries.Rename(folder, entries);
}

}  // namespace

void UnpackPackage(const std::string& package, const std::string& folder) {
  UniqueFd fd = OpenForReading(package);
  VerifySeal(fd.get(), ReadSeal(fd.get(), package), package);
  const std::vector<ArchiveEntry> entries = CheckedEntries(fd.get(), package);
  CheckTargets(folder, entries);
  WriteEntries(fd.get(), package, folder, entries);
}

}  // namespace vmu::pack
