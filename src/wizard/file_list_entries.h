// The entries of the package's file list as the installation takes them.
#pragma once

#include <string>
#include <vector>

namespace vmu {

struct InstallEntry {
  std::string name;
  int location;  // 0 to 255
};

// Every entry of the list (its bytes), each checked, before the first file is
// touched: a damaged or hostile list then changes nothing. Raises 13 for a
// location that is not a whole number, 6 for one outside 0 to 255, 62 when
// the list ends before a location, 52 for a name that is not a bare file name
// or one of the wizard's own names where the location is the program or the
// data folder. `current` is the name
// of the entry being read, for the error report.
std::vector<InstallEntry> ReadInstallEntries(const std::string& bytes, std::string& current);

}  // namespace vmu
