// The package's file list, FileList.VML: entries of a file name and a
// location code, in the comma-separated input form. Windows-1252 bytes, or
// UTF-8 after a byte-order mark.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "package/whole_number.h"

namespace vmu::package {

// Location codes: the folder an entry is installed into. Entries with any
// other code are passed over.
inline constexpr int kProgramFolder = 1;
inline constexpr int kDataFolder = 2;

struct FileListEntry {
  std::string name;      // UTF-8
  std::string location;  // the field as written
  int line = 0;          // line of the name, counted from 1
};

struct FileList {
  std::vector<FileListEntry> entries;
  // A last name that the list ends before its location code.
  std::optional<FileListEntry> lone_name;
  // The line of a quote that is never closed (its field runs to the end), or 0.
  int unclosed_quote_line = 0;
};

// Fields end at a comma or a line end (CR LF, LF or CR); blanks and line ends
// before a field are skipped; a field may be enclosed in double quotes (commas
// and line ends inside stay), and text after the closing quote up to the next
// separator is dropped; an unquoted field loses its trailing blanks. Fields
// pair up into name and location.
FileList ParseFileList(std::string_view bytes);

// The location code as a byte, the type the wizard reads it into.
WholeNumber ReadLocation(const FileListEntry& entry);

bool IsInstalledLocation(long long location);

}  // namespace vmu::package
