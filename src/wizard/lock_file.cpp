#include "wizard/lock_file.h"

namespace vmu {

std::string DatabaseLockFile(const std::string& data_dir) {
  const std::string database = data_dir + "VM_DBv01.mdb";
  return database.substr(0, database.size() - 3) + "ldb";
}

}  // namespace vmu
