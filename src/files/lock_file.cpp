#include "files/lock_file.h"

namespace vmu {

std::string LockFileBeside(const std::string& database) { return database.substr(0, database.size() - 3) + "ldb"; }

std::string DatabaseLockFile(const std::string& data_dir) { return LockFileBeside(data_dir + "VM_DBv01.mdb"); }

}  // namespace vmu
