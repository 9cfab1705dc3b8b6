// Finding a name in a host folder without regard to case, at a cost that
// does not grow with the folder: an index of each folder's folded names,
// built once per run and kept current by the kernel's change notices
// (inotify), which report every program's changes, ours included.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>

namespace vmu {

class FolderNames {
 public:
  FolderNames() = default;
  ~FolderNames();
  FolderNames(const FolderNames&) = delete;
  FolderNames& operator=(const FolderNames&) = delete;

  // The name in the host folder that equals part without regard to case;
  // the first in byte order when several do, so that the choice is stable.
  // Nothing when none does or the folder cannot be read. Where notices are
  // not to be had (a network file system, no inotify) it lists the folder.
  std::optional<std::string> Find(const std::string& folder, const std::string& part);

 private:
  struct Index {
    dev_t dev = 0;
    ino_t ino = 0;
    std::unordered_map<std::u32string, std::set<std::string>> names;
    std::uint64_t used = 0;
  };

  Index* IndexFor(const std::string& folder);
  void ReadNotices();
  void Forget(int watch);
  void ForgetAll();

  std::mutex mutex_;
  int notices_ = -1;  // the inotify descriptor, made on first need
  pid_t owner_ = 0;   // the process that made it
  bool no_notices_ = false;
  std::unordered_map<int, Index> by_watch_;
  std::unordered_map<std::string, int> watch_of_path_;
  std::uint64_t clock_ = 0;
};

}  // namespace vmu
