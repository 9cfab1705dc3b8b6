#include "platform/host/folder_names.h"

#include <dirent.h>
#include <errno.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/host/name_match.h"

namespace vmu {

namespace {

// Folders a run keeps an index of at once; the least used goes first.
constexpr std::size_t kMostFolders = 512;

constexpr std::uint32_t kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t kSelfEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;

// Local file systems, on which the kernel reports every change to a folder.
// On a network or user-space file system other machines change folders
// unseen, so those are listed every time instead.
bool ReportsEveryChange(const std::string& folder) {
  struct statfs fs;
  if (statfs(folder.c_str(), &fs) != 0) return false;
  switch (static_cast<std::uint32_t>(fs.f_type)) {
    case 0xEF53:      // ext2, ext3, ext4
    case 0x58465342:  // xfs
    case 0x9123683E:  // btrfs
    case 0x01021994:  // tmpfs
    case 0x794C7630:  // overlay
    case 0xF2F52010:  // f2fs
    case 0x2FC12FC1:  // zfs
    case 0xCA451A4E:  // bcachefs
    case 0x3153464A:  // jfs
    case 0x52654973:  // reiserfs
      return true;
    default: return false;
  }
}

std::string Join(const std::string& folder, const std::string& name) {
  return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// The listing every lookup made before there was an index.
std::optional<std::string> ListAndFind(const std::string& folder, const std::string& part) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return std::nullopt;
  const std::u32string wanted = FoldedName(part);
  std::optional<std::string> found;
  while (dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == ".." || !MatchesFolded(name, wanted)) continue;
    if (!found || name < *found) found = std::string(name);
  }
  closedir(dir);
  return found;
}

}  // namespace

FolderNames::~FolderNames() {
  if (notices_ >= 0) close(notices_);
}

std::optional<std::string> FolderNames::Find(const std::string& folder, const std::string& part) {
  std::lock_guard<std::mutex> guard(mutex_);
  Index* index = IndexFor(folder);
  if (!index) return ListAndFind(folder, part);
  index->used = ++clock_;
  const auto names = index->names.find(FoldedName(part));
  if (names == index->names.end() || names->second.empty()) return std::nullopt;
  // Only a change made in this very instant could make it fail.
  if (!Exists(Join(folder, *names->second.begin()))) return ListAndFind(folder, part);
  return *names->second.begin();
}

FolderNames::Index* FolderNames::IndexFor(const std::string& folder) {
  if (no_notices_) return nullptr;
  // A forked child shares the notices with its parent: what one reads the
  // other never sees, so only the process that made them may use them.
  if (notices_ >= 0 && owner_ != getpid()) return nullptr;
  if (notices_ < 0) {
    owner_ = getpid();
    notices_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notices_ < 0) {
      no_notices_ = true;
      return nullptr;
    }
  }
  ReadNotices();

  struct stat st;
  if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return nullptr;
  // The path may name another folder now than when it was indexed.
  if (const auto known = watch_of_path_.find(folder); known != watch_of_path_.end()) {
    const auto index = by_watch_.find(known->second);
    if (index != by_watch_.end() && index->second.dev == st.st_dev && index->second.ino == st.st_ino)
      return &index->second;
    watch_of_path_.erase(known);
  }
  if (!ReportsEveryChange(folder)) return nullptr;

  if (by_watch_.size() >= kMostFolders) {
    auto oldest = by_watch_.begin();
    for (auto it = by_watch_.begin(); it != by_watch_.end(); ++it)
      if (it->second.used < oldest->second.used) oldest = it;
    const int watch = oldest->first;
    inotify_rm_watch(notices_, watch);
    Forget(watch);
  }
  // Watched before the listing, so that no change can fall between the two;
  // notices of changes the listing already shows change nothing.
  const int watch = inotify_add_watch(notices_, folder.c_str(), kNameEvents | kSelfEvents | IN_ONLYDIR);
  if (watch < 0) return nullptr;
  watch_of_path_[folder] = watch;
  Index& index = by_watch_[watch];  // one folder by two paths shares its watch
  if (index.dev == st.st_dev && index.ino == st.st_ino) return &index;
  index = Index{st.st_dev, st.st_ino, {}, 0};
  DIR* dir = opendir(folder.c_str());
  if (!dir) {
    inotify_rm_watch(notices_, watch);
    Forget(watch);
    return nullptr;
  }
  while (dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    index.names[FoldedName(name)].insert(std::string(name));
  }
  closedir(dir);
  ReadNotices();
  const auto kept = by_watch_.find(watch);
  return kept == by_watch_.end() ? nullptr : &kept->second;
}

void FolderNames::ReadNotices() {
  alignas(inotify_event) char buffer[64 * 1024];
  for (;;) {
    const ssize_t n = read(notices_, buffer, sizeof buffer);
    if (n <= 0) return;  // EAGAIN: all read
    for (ssize_t at = 0; at < n;) {
      inotify_event event;
      std::memcpy(&event, buffer + at, sizeof event);
      const char* name = buffer + at + sizeof(inotify_event);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
      if (event.mask & IN_Q_OVERFLOW) {
        // Changes were lost: every index may be wrong.
        ForgetAll();
        continue;
      }
      if (event.mask & (IN_IGNORED | kSelfEvents)) {
        if (!(event.mask & IN_IGNORED)) inotify_rm_watch(notices_, event.wd);
        Forget(event.wd);
        continue;
      }
      const auto index = by_watch_.find(event.wd);
      if (index == by_watch_.end() || event.len == 0) continue;
      const std::string entry(name);
      const std::u32string folded = FoldedName(entry);
      if (event.mask & (IN_CREATE | IN_MOVED_TO)) {
        index->second.names[folded].insert(entry);
      } else if (event.mask & (IN_DELETE | IN_MOVED_FROM)) {
        auto names = index->second.names.find(folded);
        if (names == index->second.names.end()) continue;
        names->second.erase(entry);
        if (names->second.empty()) index->second.names.erase(names);
      }
    }
  }
}

void FolderNames::Forget(int watch) {
  by_watch_.erase(watch);
  for (auto it = watch_of_path_.begin(); it != watch_of_path_.end();)
    it = it->second == watch ? watch_of_path_.erase(it) : std::next(it);
}

void FolderNames::ForgetAll() {
  for (const auto& [watch, index] : by_watch_) inotify_rm_watch(notices_, watch);
  by_watch_.clear();
  watch_of_path_.clear();
}

}  // namespace vmu
