// Shell special folder numbers (0 to 80) laid out inside a drive prefix the
// way Wine lays them out.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace vmu {

// The folder programs are installed into ("C:\Program Files").
inline constexpr int kProgramFilesFolder = 38;
// The folder of 32-bit programs ("C:\Program Files (x86)" on 64-bit Windows).
inline constexpr int kProgramFilesX86Folder = 42;

// What a prefix made by wineboot says about its folders. The program is a
// 32-bit Windows program: a 64-bit prefix shows it the 32-bit view.
enum class PrefixArch {
  kUnknown,  // no registry files: the layout of a bare drive_c
  kWin32,
  kWin64,
};

struct PrefixFolders {
  PrefixArch arch = PrefixArch::kUnknown;
  // Folder number -> path, as the prefix's registry gives it to a 32-bit
  // program; numbers it does not name are computed.
  std::map<int, std::string> registered;
  // A 64-bit prefix's own program-files folder, which 32-bit programs see
  // under no folder number but which is redirected all the same.
  std::string native_program_files;
};

// The folder's Windows path without a trailing backslash, or empty text for
// a number that names no folder. `user` is the Windows user name.
std::string SpecialFolder(int number, const std::string& user, const PrefixFolders& prefix);
std::string SpecialFolder(int number, const std::string& user);  // a prefix without registry files

// The program-files folders whose contents a user may not change, so that
// Windows redirects writes below them: 38, 42 and a 64-bit prefix's own.
std::vector<std::string> ProgramFilesFolders(const std::string& user, const PrefixFolders& prefix);

}  // namespace vmu
