// The conversion log: DataDir & "ConversieLog.TXT", one entry per line.
#pragma once

#include <string>
#include <utility>

#include "files/run_context.h"

namespace vmu {

inline constexpr const char* kLogFileName = "ConversieLog.TXT";

// Appends Text and CR LF; raises the file system's error when it cannot.
void LogText(RunContext& ctx, const std::string& text);

// Appends like LogText but passes over a log that cannot be written: for
// lines whose loss must not change what the user is told (an error being
// reported already, a success that has happened).
void LogTextIfPossible(RunContext& ctx, const std::string& text);

// Makes the log durable, name and lines, so that a power cut keeps what it
// says so far: at the points that matter (as the journal is written, as a
// phase ends, before the journal goes), not after every line. A log that cannot
// be flushed is passed over as LogTextIfPossible does.
void FlushLog(RunContext& ctx);

// The log of one data folder, for code that is given a file system and a
// folder rather than the whole run (the database conversion).
class ConversionLog {
 public:
  ConversionLog(FileSystem& fs, std::string data_dir) : fs_(fs), data_dir_(std::move(data_dir)) {}
  // As LogText.
  void Text(const std::string& text);

 private:
  FileSystem& fs_;
  std::string data_dir_;
};

}  // namespace vmu
