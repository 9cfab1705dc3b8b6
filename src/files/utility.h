// INI and path utilities every part of the program uses.
#pragma once

#include <string>
#include <vector>

#include "files/run_context.h"

namespace vmu {

// The value (at most 254 characters) or Default when file, section or key is absent.
std::string ReadIniRaw(FileSystem& fs, const std::string& file, const std::string& section, const std::string& key,
                       const std::string& default_value);

// CR and LF in the value become spaces; a failed write is ignored. Raises 6
// for a value longer than 32,767 characters.
void WriteIni(FileSystem& fs, const std::string& file, const std::string& section, const std::string& key,
              const std::string& value);

// Reads a value; a missing one (or one that reads "?") gives Default, which is
// then written back. An empty File means UpdateIniPath; a File without a
// drive letter is taken inside DataDir.
std::string ReadIni(RunContext& ctx, const std::string& section, const std::string& key,
                    const std::string& default_value, const std::string& file);
// The same on a full path, for code that is given a file system and its
// folders rather than the whole run.
std::string ReadIniAt(FileSystem& fs, const std::string& path, const std::string& section, const std::string& key,
                      const std::string& default_value);

// The pieces between backslashes; an empty path has none.
std::vector<std::string> SplitAtBackslash(const std::string& path);

// "C:\a\b\f.txt" gives "C:\a\b\"; a path of one piece gives empty text.
std::string DirectoryOfPath(const std::string& path);

// "C:\a\b\f.txt" gives "f.txt", "C:\a\b\" gives "b". Raises 5 for an empty
// path or a single backslash.
std::string FileNameOfPath(const std::string& path);

// Integer text as the system's conversions take it: blanks around it allowed,
// an optional sign, digits. Raises 13 for anything else, 6 when the number
// does not fit the type's range.
int ToInt32(const std::string& text);
int ToInt16(const std::string& text);
int ToByte(const std::string& text);

}  // namespace vmu
