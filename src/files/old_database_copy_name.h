// The SQLite copy of a Jet database that the conversion reads, made beside
// the user's database in the data folder. A crash can leave it behind; the
// next start removes it.
#pragma once

#include <string>

#include "files/run_context.h"

namespace vmu {

// "...\VM_DBv01.mdb" -> "...\VM_DBv01.mdb.vmu-staging"
std::string OldDatabaseCopyName(const std::string& old_database);

// Removes every such copy from DataDir. Never raises: one that stays is
// tried again at the next start, and the conversion replaces its own.
void RemoveOldDatabaseCopies(RunContext& ctx);

}  // namespace vmu
