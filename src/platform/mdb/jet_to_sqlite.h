// The copy itself, in this process: every user table of a Jet file, read
// with libmdb, into a new SQLite file. Both are host paths.
#pragma once

#include <string>

#include "platform/jet_files.h"

namespace vmu {

// Raises a VbError when the SQLite file cannot be written; leaves removing
// a half-written file to the caller.
JetCopyOutcome CopyJetTablesToSqlite(const std::string& jet_file, const std::string& sqlite_file);

}  // namespace vmu
