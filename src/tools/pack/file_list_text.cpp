#include "tools/pack/file_list_text.h"

#include "platform/text_encoding.h"

namespace vmu::pack {

namespace {

struct Field {
  std::string text;
  int line;
};

bool IsLineEnd(char ch) { return ch == '\r' || ch == '\n'; }

// Steps over one line end (CR LF counts as one) and counts it.
void SkipLineEnd(std::string_view bytes, std::size_t& pos, int& line) {
  if (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ++pos;
  ++pos;
  ++line;
}

}  // namespace

FileListText ParseFileList(std::string_view bytes) {
  FileListText result;
  std::vector<Field> fields;
  // Windows-1252, or UTF-8 after a byte-order mark.
  const bool utf8 = bytes.substr(0, 3) == "\xEF\xBB\xBF";
  std::size_t pos = utf8 ? 3 : 0;
  int line = 1;
  while (pos < bytes.size()) {
    while (pos < bytes.size() && (bytes[pos] == ' ' || bytes[pos] == '\t')) ++pos;
    if (pos == bytes.size()) break;
    if (IsLineEnd(bytes[pos])) {
      SkipLineEnd(bytes, pos, line);
      continue;
    }
    Field field{{}, line};
    if (bytes[pos] == '"') {
      const std::size_t close = bytes.find('"', pos + 1);
      if (close == std::string_view::npos) {
        result.problems.push_back("line " + std::to_string(line) + ": a quote is not closed");
        field.text = bytes.substr(pos + 1);
        pos = bytes.size();
      } else {
        field.text = bytes.substr(pos + 1, close - pos - 1);
        for (char ch : field.text)
          if (ch == '\n') ++line;
        pos = close + 1;
        while (pos < bytes.size() && bytes[pos] != ',' && !IsLineEnd(bytes[pos])) ++pos;
      }
    } else {
      std::size_t end = pos;
      while (end < bytes.size() && bytes[end] != ',' && !IsLineEnd(bytes[end])) ++end;
      std::size_t last = end;
      while (last > pos && (bytes[last - 1] == ' ' || bytes[last - 1] == '\t')) --last;
      field.text = bytes.substr(pos, last - pos);
      pos = end;
    }
    if (pos < bytes.size()) {
      if (bytes[pos] == ',')
        ++pos;
      else
        SkipLineEnd(bytes, pos, line);
    }
    if (!utf8) field.text = Cp1252ToUtf8(field.text);
    fields.push_back(std::move(field));
  }
  for (std::size_t i = 0; i < fields.size(); i += 2) {
    if (i + 1 == fields.size()) {
      result.problems.push_back("line " + std::to_string(fields[i].line) + ": \"" + fields[i].text +
                                "\" has no location code");
      break;
    }
    result.entries.push_back({fields[i].text, fields[i + 1].text, fields[i].line});
  }
  return result;
}

}  // namespace vmu::pack
