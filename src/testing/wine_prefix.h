// A 64-bit drive prefix laid out as wineboot lays it out: drive_c with its folders,
// the dosdevices links, the registry files, and the user's Documents, Music,
// ... as links into a home folder outside the prefix.
#pragma once

#include <map>
#include <string>

#include "platform/host/host_file_system.h"
#include "testing/test_prefix.h"

namespace vmu::testing {

struct WinePrefixLayout {
  std::string user = "anna";
  // "Shell Folders" values other than wineboot's own: value name -> path.
  std::map<std::string, std::string> relocated;
  // Drives besides C: and Z:, each a new host folder: letter -> its name.
  std::map<char, std::string> extra_drives;
};

class WinePrefix : public WindowsFiles<WinePrefix> {
 public:
  explicit WinePrefix(WinePrefixLayout layout = {});

  const std::string& prefix() const { return prefix_; }  // what WINEPREFIX names
  std::string home() const { return dir_.Sub("home"); }  // the user's host home folder

  // Host path of a Windows path, through the prefix's drive links.
  std::string Host(const std::string& windows_path) const;

 private:
  void MakeFolders();
  void WriteRegistry();

  TempDir dir_;
  std::string prefix_;
  WinePrefixLayout layout_;
};

}  // namespace vmu::testing
