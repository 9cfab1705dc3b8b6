// The application's update counter, "VersionUpdate" in section "Main" of
// DataDir & "VM.ini", as the installation and the roll-back set it.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace vmu {

// The counter as written; "0" when the key (or the file) is missing. Never
// writes, unlike ReadIni: a read must not change the state being recorded.
std::string ReadVersionUpdate(FileSystem& fs, const std::string& data_dir);

// Writes the counter durably (every other byte of the file kept); a failed
// write raises, for the counter must never claim what did not happen.
void WriteVersionUpdate(FileSystem& fs, const std::string& data_dir, const std::string& value);

}  // namespace vmu
