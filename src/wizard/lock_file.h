// The lock file the application keeps beside its open database.
#pragma once

#include <string>

namespace vmu {

// DataDir & "VM_DBv01.mdb" with its last three characters replaced by "ldb".
std::string DatabaseLockFile(const std::string& data_dir);

}  // namespace vmu
