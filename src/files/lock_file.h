// The lock file the database engine keeps beside an open database: while it
// exists, the application has the database open.
#pragma once

#include <string>

namespace vmu {

// The database's path with its last three characters replaced by "ldb", as
// Jet has it ("x.mdb" -> "x.ldb"); Access 2007 and later use "x.laccdb" for
// "x.accdb".
std::string LockFileBeside(const std::string& database);
// The lock file of the application's database, DataDir & "VM_DBv01.mdb".
std::string DatabaseLockFile(const std::string& data_dir);

}  // namespace vmu
