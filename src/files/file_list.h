// The package's file list, FileList.VML: entries of a file name and a
// location code (1 program folder, 2 data folder), in the comma-separated
// input form: a field is either in double quotes or ends at the next comma
// or line end; leading blanks are skipped.
#pragma once

#include <cstddef>
#include <string>

namespace vmu {

// The list being read, as UTF-8 text, and how far it has been read.
struct FileListCursor {
  std::string text;
  std::size_t pos = 0;
};

// Windows-1252 bytes, or UTF-8 after a byte-order mark.
FileListCursor OpenFileList(const std::string& bytes);

// The next entry's name; false when only blanks and line ends are left.
bool ReadFileListName(FileListCursor& list, std::string& name);

// The location code after the name just read: 13 when it is not a whole
// number, 6 when it lies outside 0 to 255, 62 when the list ends first.
int ReadFileListLocation(FileListCursor& list);

// A name that can only land in the folder it is installed into: not empty,
// no folder part, no drive, no "..".
bool IsInstallableName(const std::string& name);

}  // namespace vmu
