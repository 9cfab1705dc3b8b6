// The package's file list "FileList.VML" as the wizard reads it: a name and
// a location code per entry, in comma-separated input form.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vmu::pack {

struct ListedFile {
  std::string name;      // UTF-8 (the list is Windows-1252, or UTF-8 after a byte-order mark)
  std::string location;  // the field as written
  int line = 0;          // line of the name, counted from 1
};

struct FileListText {
  std::vector<ListedFile> entries;
  std::vector<std::string> problems;  // "line 4: ..." for text the wizard cannot read as entries
};

// Fields end at a comma or a line end (CR LF, LF or CR); leading blanks are
// skipped; a field may be enclosed in double quotes (commas inside stay), and
// text after the closing quote up to the next separator is ignored. Empty
// lines separate nothing. Fields pair up into name and location.
FileListText ParseFileList(std::string_view bytes);

}  // namespace vmu::pack
