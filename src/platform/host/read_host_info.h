// Facts about this program and its session, read from the host.
#pragma once

#include "platform/file_system.h"
#include "platform/host_info.h"

namespace vmu {

// User name from USER (else "user"); own name from argv0 without folder and
// extension; own folder from /proc/self/exe in Windows form.
HostInfo CurrentHostInfo(FileSystem& fs, const char* argv0);

}  // namespace vmu
