#include "files/lock_file.h"

#include "files/same_text.h"

namespace vmu {

std::string LockFileBeside(const std::string& database) {
  const std::string ace = ".accdb";
  if (database.size() > ace.size() && SameText(database.substr(database.size() - ace.size()), ace))
    return database.substr(0, database.size() - ace.size()) + ".laccdb";
  return database.substr(0, database.size() - 3) + "ldb";
}

std::string DatabaseLockFile(const std::string& data_dir) { return LockFileBeside(data_dir + "VM_DBv01.mdb"); }

}  // namespace vmu
