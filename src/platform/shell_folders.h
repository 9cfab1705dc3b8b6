// Shell special folder numbers (0 to 80) laid out inside a drive prefix the
// way Wine lays them out.
#pragma once

#include <string>

namespace vmu {

// The folder programs are installed into ("C:\Program Files").
inline constexpr int kProgramFilesFolder = 38;

// The folder's Windows path without a trailing backslash, or empty text for
// a number that names no folder. `user` is the Windows user name.
std::string SpecialFolder(int number, const std::string& user);

}  // namespace vmu
