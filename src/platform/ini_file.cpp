#include "platform/ini_file.h"

#include "platform/code_points.h"
#include "platform/ini_text.h"

namespace vmu {

namespace {

std::u32string_view Range(const IniLine& line, std::size_t begin, std::size_t end) {
  return std::u32string_view(line.text).substr(begin, end - begin);
}

// A name as asked for: blanks around it do not count.
std::u32string AskedName(const std::string& utf8) { return std::u32string(TrimIniBlanks(Utf8ToCodePoints(utf8))); }

// A line break inside a name or value would split the line and could plant
// other sections or keys in the file; it becomes a space.
std::u32string OnOneLine(std::u32string text) {
  for (char32_t& cp : text)
    if (cp == '\r' || cp == '\n') cp = ' ';
  return text;
}

std::string Truncated(std::u32string_view text, int buffer_size) {
  if (buffer_size <= 0) return {};
  const auto room = static_cast<std::size_t>(buffer_size - 1);
  return CodePointsToUtf8(text.substr(0, room));
}

// Walks the file's lines up to the end of the first section named `section`:
// `on_section` sees its header, `on_line` each of its other lines and returns
// true to stop early. Lines before the first header belong to no section.
template <typename OnSection, typename OnLine>
void ScanFirstSection(const IniText& text, std::u32string_view section, OnSection on_section, OnLine on_line) {
  std::size_t pos = text.body();
  IniLine line;
  bool inside = false;
  while (ReadIniLine(text, pos, line)) {
    const IniLineKind kind = ClassifyIniLine(line.text);
    if (kind.kind == IniLineKind::kHeader) {
      if (inside) return;  // only the first matching section counts
      if (IniNamesEqual(Range(line, kind.name_begin, kind.name_end), section)) {
        inside = true;
        on_section(line);
      }
      continue;
    }
    if (inside && on_line(line, kind)) return;
  }
}

}  // namespace

std::string IniRead(const std::optional<std::string>& content, const std::string& section, const std::string& key,
                    const std::string& default_value, int buffer_size) {
  if (content) {
    const IniText text(*content);
    const std::u32string wanted_section = AskedName(section);
    const std::u32string wanted_key = AskedName(key);
    std::optional<std::u32string> found;
    ScanFirstSection(
        text, wanted_section, [](const IniLine&) {},
        [&](const IniLine& line, const IniLineKind& kind) {
          if (kind.kind != IniLineKind::kEntry ||
              !IniNamesEqual(Range(line, kind.name_begin, kind.name_end), wanted_key))
            return false;
          found = Range(line, kind.value_begin, kind.value_end);
          return true;
        });
    if (found) {
      std::u32string_view value = *found;
      if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
      return Truncated(value, buffer_size);
    }
  }
  std::u32string fallback = Utf8ToCodePoints(default_value);
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  return Truncated(fallback, buffer_size);
}

std::optional<std::string> IniWrite(const std::optional<std::string>& content, const std::string& section,
                                    const std::string& key, const std::string& value) {
  const std::u32string new_section = OnOneLine(AskedName(section));
  const std::u32string new_key = OnOneLine(AskedName(key));
  const std::u32string new_value = OnOneLine(Utf8ToCodePoints(value));
  const std::u32string new_entry = new_key + U"=" + new_value;

  const std::string bytes = content.value_or(std::string());
  const IniText text(bytes);

  bool section_found = false;
  IniLine anchor;  // the last non-blank line of the section so far
  std::optional<std::string> result;
  bool unchanged = false;
  ScanFirstSection(
      text, new_section,
      [&](const IniLine& header) {
        section_found = true;
        anchor = header;
      },
      [&](const IniLine& line, const IniLineKind& kind) {
        if (kind.kind != IniLineKind::kBlank) anchor = line;
        if (kind.kind != IniLineKind::kEntry || !IniNamesEqual(Range(line, kind.name_begin, kind.name_end), new_key))
          return false;
        if (Range(line, kind.value_begin, kind.value_end) == new_value) {
          unchanged = true;
          return true;
        }
        // The key keeps its spelling, byte for byte, and the line its line end.
        const std::size_t key_begin = text.Advance(line.begin, kind.name_begin);
        const std::size_t key_end = text.Advance(key_begin, kind.name_end - kind.name_begin);
        result = bytes.substr(0, line.begin) + bytes.substr(key_begin, key_end - key_begin) +
                 text.Encode(U"=" + new_value) + bytes.substr(line.end);
        return true;
      });
  if (unchanged) return std::nullopt;

  // Text appended after a cut-off UTF-16 unit would be read a byte out of
  // step: the value lost and the file growing on every write. The lone byte
  // is first made a whole unit, a lone surrogate, so that it still reads as
  // the one broken character it was and its line keeps its meaning.
  const std::string completion = text.CutOff() ? std::string(1, '\xD8') : std::string();
  if (!result && section_found) {
    std::string insert = anchor.next == bytes.size() ? completion : std::string();
    if (!anchor.HasLineEnd()) insert += text.Encode(U"\r\n");
    insert += text.Encode(new_entry + U"\r\n");
    result = bytes.substr(0, anchor.next) + insert + bytes.substr(anchor.next);
  } else if (!result) {
    result = bytes + completion;
    // The last line needs its line break before a new section can follow.
    if (text.EndsOpen()) *result += text.Encode(U"\r\n");
    *result += text.Encode(U"[" + new_section + U"]\r\n" + new_entry + U"\r\n");
  }
  if (content && *result == *content) return std::nullopt;
  return result;
}

}  // namespace vmu
