// An INI file's bytes seen as lines of characters, without copying them:
// each line keeps its byte range so that untouched lines can be written back
// exactly as they were, whatever the encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vmu {

enum class IniEncoding { kCp1252, kUtf8, kUtf16Le };

class IniText {
 public:
  // Picks the encoding from the byte-order mark (none: Windows-1252).
  explicit IniText(std::string_view bytes);

  IniEncoding encoding() const { return encoding_; }
  std::string_view bytes() const { return bytes_; }
  // Where the text starts, after any byte-order mark.
  std::size_t body() const { return body_; }

  // Decodes the character at pos into cp and returns the position after it.
  // Malformed input still yields one character and moves forward.
  std::size_t Decode(std::size_t pos, char32_t& cp) const;
  // The position `count` characters after pos.
  std::size_t Advance(std::size_t pos, std::size_t count) const;
  // The last line lacks a line break (false for an empty text).
  bool EndsOpen() const;
  // A UTF-16 text whose last unit lost its second byte.
  bool CutOff() const;
  // The characters in this file's encoding.
  std::string Encode(std::u32string_view text) const;

 private:
  std::string_view bytes_;
  IniEncoding encoding_ = IniEncoding::kCp1252;
  std::size_t body_ = 0;
};

// One line: its characters without the line end, and its byte range.
struct IniLine {
  std::u32string text;
  std::size_t begin = 0;  // first byte
  std::size_t end = 0;    // first byte of the line end
  std::size_t next = 0;   // first byte after the line end
  bool HasLineEnd() const { return next != end; }
};

// Reads the line at pos (CR LF, LF or CR ends it) and moves pos past it;
// false at the end of the text.
bool ReadIniLine(const IniText& text, std::size_t& pos, IniLine& line);

// What a line means. Names and values are index ranges into the line's text,
// already trimmed of blanks.
struct IniLineKind {
  enum Kind { kBlank, kOther, kHeader, kEntry } kind = kOther;
  std::size_t name_begin = 0, name_end = 0;    // section name or key
  std::size_t value_begin = 0, value_end = 0;  // entries only
};

IniLineKind ClassifyIniLine(std::u32string_view line);

bool IsIniBlank(char32_t cp);
std::u32string_view TrimIniBlanks(std::u32string_view text);
// Names compare without regard to case, for ASCII and the Windows-1252 letters.
bool IniNamesEqual(std::u32string_view a, std::u32string_view b);

}  // namespace vmu
