// Windows paths onto host paths, the way Wine maps them: a prefix folder
// holds the drives; each component is matched without regard to case.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/host/folder_names.h"

namespace vmu {

class DriveMap {
 public:
  // prefix: the host folder that holds drive_c and dosdevices.
  explicit DriveMap(std::string prefix);

  // The prefix from WINEPREFIX, else ~/.wine.
  static std::string DefaultPrefix();

  const std::string& prefix() const { return prefix_; }

  // The host path for a Windows path. Components that exist are matched
  // without regard to case (exact match first); the rest keep the spelling
  // given. "." and ".." are folded. A path without a drive resolves against
  // the current folder. Raises 52 for a UNC or malformed path, 76 for a
  // drive that maps nowhere. A trailing backslash is dropped.
  std::string ToHost(const std::string& windows_path) const;

  // The Windows form of a host path: the drive whose root holds it (the
  // longest match), else Z:.
  std::string ToWindows(const std::string& host_path) const;

 private:
  std::optional<std::string> DriveRoot(char letter) const;
  std::string prefix_;
  // Shared by copies of the map: one index per folder for the whole run.
  std::shared_ptr<FolderNames> names_;
  // The drives' link targets as last read, each kept while its link is the same file.
  struct DriveLinks;
  std::shared_ptr<DriveLinks> links_;
};

}  // namespace vmu
