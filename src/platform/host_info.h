// Facts about this program and the session it runs in, read once from the
// host at start.
#pragma once

#include <string>

#include "platform/shell_folders.h"

namespace vmu {

struct HostInfo {
  std::string user_name = "user";      // the Windows user name, for the special folders
  std::string exe_name = "VM_Update";  // own executable name without extension
  std::string exe_folder;              // folder it runs from, Windows form, no trailing backslash
  PrefixFolders prefix_folders;        // what the prefix's registry says of its folders
  // The drive prefix (host form) when it holds no drives at all: no Wine
  // installation lives there, whatever start-up would look for. Else empty.
  std::string prefix_without_drives;
};

}  // namespace vmu
