// Runs SQL text on a SQLite database file, creating the file when missing.
#pragma once

#include <string>

namespace vmu {

// Raises a VbError with the engine's message when the SQL fails.
void ExecuteSql(const std::string& host_path, const std::string& sql);

}  // namespace vmu
