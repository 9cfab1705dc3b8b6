// The conversion log: DataDir & "ConversieLog.TXT", one entry per line.
#pragma once

#include <string>

#include "files/run_context.h"

namespace vmu {

inline constexpr const char* kLogFileName = "ConversieLog.TXT";

// Appends Text and CR LF; raises the file system's error when it cannot.
void LogText(RunContext& ctx, const std::string& text);

// Appends like LogText but passes over a log that cannot be written: for
// lines whose loss must not change what the user is told (an error being
// reported already, a success that has happened).
void LogTextIfPossible(RunContext& ctx, const std::string& text);

}  // namespace vmu
