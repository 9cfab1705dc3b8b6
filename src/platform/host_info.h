// Facts about this program and the session it runs in, read once from the
// host at start.
#pragma once

#include <string>

namespace vmu {

struct HostInfo {
  std::string user_name = "user";      // for the special folders
  std::string exe_name = "VM_Update";  // own executable name without extension
  std::string exe_folder;              // folder it runs from, Windows form, no trailing backslash
};

}  // namespace vmu
