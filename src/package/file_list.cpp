#include "package/file_list.h"

#include "platform/text_encoding.h"

namespace vmu::package {

namespace {

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }
bool IsLineEnd(char ch) { return ch == '\r' || ch == '\n'; }

// Steps over one line end (CR LF counts as one) and counts it.
void SkipLineEnd(std::string_view bytes, std::size_t& pos, int& line) {
  if (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ++pos;
  ++pos;
  ++line;
}

}  // namespace

FileList ParseFileList(std::string_view bytes) {
  FileList result;
  std::vector<FileListEntry> fields;  // the text in `name`, for now
  const bool utf8 = bytes.substr(0, 3) == "\xEF\xBB\xBF";
  std::size_t pos = utf8 ? 3 : 0;
  int line = 1;
  while (pos < bytes.size()) {
    while (pos < bytes.size() && IsBlank(bytes[pos])) ++pos;
    if (pos == bytes.size()) break;
    if (IsLineEnd(bytes[pos])) {
      SkipLineEnd(bytes, pos, line);
      continue;
    }
    FileListEntry field{{}, {}, line};
    if (bytes[pos] == '"') {
      const std::size_t close = bytes.find('"', pos + 1);
      if (close == std::string_view::npos) {
        result.unclosed_quote_line = line;
        field.name = bytes.substr(pos + 1);
        pos = bytes.size();
      } else {
        field.name = bytes.substr(pos + 1, close - pos - 1);
        for (char ch : field.name)
          if (ch == '\n') ++line;
        pos = close + 1;
        while (pos < bytes.size() && bytes[pos] != ',' && !IsLineEnd(bytes[pos])) ++pos;
      }
    } else {
      std::size_t end = pos;
      while (end < bytes.size() && bytes[end] != ',' && !IsLineEnd(bytes[end])) ++end;
      std::size_t last = end;
      while (last > pos && IsBlank(bytes[last - 1])) --last;
      field.name = bytes.substr(pos, last - pos);
      pos = end;
    }
    if (pos < bytes.size()) {
      if (bytes[pos] == ',') ++pos;
      else SkipLineEnd(bytes, pos, line);
    }
    if (!utf8) field.name = Cp1252ToUtf8(field.name);
    fields.push_back(std::move(field));
  }
  for (std::size_t i = 0; i < fields.size(); i += 2) {
    if (i + 1 == fields.size()) {
      result.lone_name = std::move(fields[i]);
      break;
    }
    fields[i].location = std::move(fields[i + 1].name);
    result.entries.push_back(std::move(fields[i]));
  }
  return result;
}

WholeNumber ReadLocation(const FileListEntry& entry) { return ReadWholeNumber(entry.location, kByteRange); }

bool IsInstalledLocation(long long location) { return location == kProgramFolder || location == kDataFolder; }

}  // namespace vmu::package
