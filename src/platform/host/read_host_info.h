// Facts about this program and its session, read from the host.
#pragma once

#include <string>

#include "platform/host/host_file_system.h"
#include "platform/host_info.h"

namespace vmu {

// The user name as Wine takes it: USER, else the account's name (else
// "user"); the folders from the prefix's registry files; own name from argv0
// without folder and extension; own folder from /proc/self/exe in Windows form;
// the prefix when it has neither dosdevices nor drive_c.
HostInfo CurrentHostInfo(HostFileSystem& fs, const char* argv0);

// The folders named in <prefix>/user.reg and system.reg; a prefix without
// either file gives the layout of a bare drive_c.
PrefixFolders ReadPrefixFolders(const std::string& prefix);

}  // namespace vmu
