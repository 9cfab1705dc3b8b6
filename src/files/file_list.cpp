#include "files/file_list.h"

#include "files/utility.h"
#include "platform/error.h"
#include "platform/text_encoding.h"

namespace vmu {

namespace {

constexpr int kInputPastEndOfFile = 62;

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }
bool IsLineEnd(char ch) { return ch == '\r' || ch == '\n'; }

void SkipBlanks(FileListCursor& list, bool line_ends_too) {
  const std::string& t = list.text;
  while (list.pos < t.size() && (IsBlank(t[list.pos]) || (line_ends_too && IsLineEnd(t[list.pos]))))
    ++list.pos;
}

// Steps over the comma or line end (CR LF counts as one) that ends a field.
void SkipDelimiter(FileListCursor& list) {
  const std::string& t = list.text;
  if (list.pos >= t.size()) return;
  if (t[list.pos] == '\r' && list.pos + 1 < t.size() && t[list.pos + 1] == '\n') ++list.pos;
  ++list.pos;
}

// One field from the current position (blanks before it already skipped).
std::string ReadField(FileListCursor& list) {
  const std::string& t = list.text;
  std::string field;
  if (list.pos < t.size() && t[list.pos] == '"') {
    const std::size_t close = t.find('"', list.pos + 1);
    if (close == std::string::npos) {
      field = t.substr(list.pos + 1);
      list.pos = t.size();
      return field;
    }
    field = t.substr(list.pos + 1, close - list.pos - 1);
    list.pos = close + 1;
    // Whatever stands between the closing quote and the delimiter is dropped.
    while (list.pos < t.size() && t[list.pos] != ',' && !IsLineEnd(t[list.pos])) ++list.pos;
  } else {
    const std::size_t start = list.pos;
    while (list.pos < t.size() && t[list.pos] != ',' && !IsLineEnd(t[list.pos])) ++list.pos;
    field = t.substr(start, list.pos - start);
    while (!field.empty() && IsBlank(field.back())) field.pop_back();
  }
  SkipDelimiter(list);
  return field;
}

}  // namespace

FileListCursor OpenFileList(const std::string& bytes) {
  FileListCursor list;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
    list.text = bytes.substr(3);
  else
    list.text = Cp1252ToUtf8(bytes);
  return list;
}

bool ReadFileListName(FileListCursor& list, std::string& name) {
  // Blank lines between entries (a list that ends in several line breaks)
  // are not entries.
  SkipBlanks(list, true);
  if (list.pos >= list.text.size()) return false;
  name = ReadField(list);
  return true;
}

int ReadFileListLocation(FileListCursor& list) {
  SkipBlanks(list, true);
  if (list.pos >= list.text.size()) Raise(kInputPastEndOfFile, "Input past end of file");
  return ToByte(ReadField(list));
}

bool IsInstallableName(const std::string& name) {
  // Windows drops trailing dots and blanks: "." and ". ." name the folder itself.
  if (name.find_first_not_of(". ") == std::string::npos) return false;
  if (name.find_first_of("\\/:") != std::string::npos) return false;
  return name.find("..") == std::string::npos;
}

}  // namespace vmu
