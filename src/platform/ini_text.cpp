#include "platform/ini_text.h"

#include "platform/code_points.h"

namespace vmu {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

char32_t FoldCase(char32_t cp) {
  if (cp >= 'a' && cp <= 'z') return cp - 0x20;
  if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;  // à..þ except ÷
  switch (cp) {
    case 0x0161: return 0x0160;  // š
    case 0x0153: return 0x0152;  // œ
    case 0x017E: return 0x017D;  // ž
    case 0x00FF: return 0x0178;  // ÿ
    default: return cp;
  }
}

unsigned Utf16Unit(std::string_view bytes, std::size_t pos) {
  return static_cast<unsigned char>(bytes[pos]) | (static_cast<unsigned char>(bytes[pos + 1]) << 8);
}

void AppendUtf16Le(std::string& out, unsigned unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

}  // namespace

IniText::IniText(std::string_view bytes) : bytes_(bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    encoding_ = IniEncoding::kUtf8;
    body_ = 3;
  } else if (bytes.substr(0, 2) == "\xFF\xFE") {
    encoding_ = IniEncoding::kUtf16Le;
    body_ = 2;
  }
}

std::size_t IniText::Decode(std::size_t pos, char32_t& cp) const {
  const auto byte = static_cast<unsigned char>(bytes_[pos]);
  switch (encoding_) {
    case IniEncoding::kCp1252: cp = Cp1252ToCodePoint(byte); return pos + 1;
    case IniEncoding::kUtf8: {
      const std::size_t length = DecodeUtf8At(bytes_, pos, cp);
      if (length != 0) return pos + length;
      cp = Cp1252ToCodePoint(byte);
      return pos + 1;
    }
    case IniEncoding::kUtf16Le: break;
  }
  if (bytes_.size() - pos < 2) {  // odd trailing byte
    cp = kReplacement;
    return pos + 1;
  }
  const unsigned unit = Utf16Unit(bytes_, pos);
  if (unit >= 0xD800 && unit <= 0xDBFF && bytes_.size() - pos >= 4) {
    const unsigned low = Utf16Unit(bytes_, pos + 2);
    if (low >= 0xDC00 && low <= 0xDFFF) {
      cp = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
      return pos + 4;
    }
  }
  cp = (unit >= 0xD800 && unit <= 0xDFFF) ? kReplacement : unit;
  return pos + 2;
}

std::size_t IniText::Advance(std::size_t pos, std::size_t count) const {
  char32_t cp;
  for (; count > 0 && pos < bytes_.size(); --count) pos = Decode(pos, cp);
  return pos;
}

std::string IniText::Encode(std::u32string_view text) const {
  std::string out;
  for (char32_t cp : text) {
    switch (encoding_) {
      case IniEncoding::kCp1252: {
        const int byte = CodePointToCp1252(cp);
        out += byte < 0 ? '?' : static_cast<char>(byte);
        break;
      }
      case IniEncoding::kUtf8: AppendUtf8(out, cp); break;
      case IniEncoding::kUtf16Le:
        if (cp < 0x10000) {
          AppendUtf16Le(out, cp);
        } else {
          AppendUtf16Le(out, 0xD800 + ((cp - 0x10000) >> 10));
          AppendUtf16Le(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
        break;
    }
  }
  return out;
}

bool IniText::EndsOpen() const {
  const std::size_t length = bytes_.size() - body_;
  if (length == 0) return false;
  if (encoding_ != IniEncoding::kUtf16Le) return bytes_.back() != '\r' && bytes_.back() != '\n';
  if (length % 2 != 0) return true;  // a cut-off unit is no line break
  const unsigned last = Utf16Unit(bytes_, bytes_.size() - 2);
  return last != '\r' && last != '\n';
}

bool IniText::CutOff() const { return encoding_ == IniEncoding::kUtf16Le && (bytes_.size() - body_) % 2 != 0; }

bool ReadIniLine(const IniText& text, std::size_t& pos, IniLine& line) {
  const std::size_t size = text.bytes().size();
  if (pos >= size) return false;
  line.text.clear();
  line.begin = pos;
  while (pos < size) {
    const std::size_t at = pos;
    char32_t cp;
    pos = text.Decode(pos, cp);
    if (cp == '\r' || cp == '\n') {
      line.end = at;
      if (cp == '\r' && pos < size) {
        char32_t following;
        const std::size_t after = text.Decode(pos, following);
        if (following == '\n') pos = after;
      }
      line.next = pos;
      return true;
    }
    line.text += cp;
  }
  line.end = line.next = pos;
  return true;
}

bool IsIniBlank(char32_t cp) { return cp == ' ' || cp == '\t' || cp == 0x0B || cp == 0x0C || cp == 0x1A; }

std::u32string_view TrimIniBlanks(std::u32string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsIniBlank(text[begin])) ++begin;
  while (end > begin && IsIniBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool IniNamesEqual(std::u32string_view a, std::u32string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

namespace {

// Narrows [begin, end) of line to its non-blank part.
void Trim(std::u32string_view line, std::size_t& begin, std::size_t& end) {
  while (begin < end && IsIniBlank(line[begin])) ++begin;
  while (end > begin && IsIniBlank(line[end - 1])) --end;
}

}  // namespace

IniLineKind ClassifyIniLine(std::u32string_view line) {
  IniLineKind result;
  std::size_t begin = 0;
  std::size_t end = line.size();
  Trim(line, begin, end);
  if (begin == end) {
    result.kind = IniLineKind::kBlank;
    return result;
  }
  if (line[begin] == '[') {
    const std::size_t close = line.substr(0, end).rfind(U']');
    if (close != std::u32string_view::npos && close > begin) {
      result.kind = IniLineKind::kHeader;
      result.name_begin = begin + 1;
      result.name_end = close;
      Trim(line, result.name_begin, result.name_end);
      return result;
    }
    // No closing bracket: an ordinary line.
  }
  if (line[begin] == ';') return result;
  const std::size_t equals = line.substr(0, end).find(U'=', begin);
  if (equals == std::u32string_view::npos) return result;
  result.kind = IniLineKind::kEntry;
  result.name_begin = begin;
  result.name_end = equals;
  Trim(line, result.name_begin, result.name_end);
  result.value_begin = equals + 1;
  result.value_end = end;
  Trim(line, result.value_begin, result.value_end);
  return result;
}

}  // namespace vmu
