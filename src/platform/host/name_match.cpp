#include "platform/host/name_match.h"

#include "platform/host/host_file_system.h"

namespace vmu {

namespace {

// One UTF-8 sequence at pos; a byte that starts no valid sequence counts as
// one character of its own so that no name is ever unmatchable.
char32_t NextChar(std::string_view s, std::size_t& pos) {
  const unsigned char lead = static_cast<unsigned char>(s[pos]);
  if (lead < 0x80) {
    pos += 1;
    return lead;
  }
  std::size_t len = (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
  if (len > 1 && pos + len <= s.size()) {
    char32_t cp = lead & (0x7F >> len);
    bool ok = true;
    for (std::size_t i = 1; i < len && ok; ++i) {
      const unsigned char c = static_cast<unsigned char>(s[pos + i]);
      ok = (c & 0xC0) == 0x80;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (ok) {
      pos += len;
      return cp;
    }
  }
  pos += 1;
  return 0xDC00 + lead;  // a lone byte, kept apart from every real character
}

char32_t FoldChar(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  switch (c) {
    case 0x152: return 0x153;  // OE
    case 0x160: return 0x161;  // S caron
    case 0x17D: return 0x17E;  // Z caron
    case 0x178: return 0xFF;   // Y diaeresis
    default: return c;
  }
}

bool Glob(std::u32string_view pattern, std::u32string_view name) {
  std::size_t p = 0, n = 0, star = std::u32string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == U'*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (star != std::u32string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

}  // namespace

std::u32string FoldedName(std::string_view name) {
  std::u32string out;
  for (std::size_t pos = 0; pos < name.size();) out.push_back(FoldChar(NextChar(name, pos)));
  return out;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) { return FoldedName(a) == FoldedName(b); }

bool MatchesFolded(std::string_view name, const std::u32string& folded) {
  std::size_t pos = 0;
  for (char32_t wanted : folded)
    if (pos >= name.size() || FoldChar(NextChar(name, pos)) != wanted) return false;
  return pos == name.size();
}

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  return FoldedWildcardMatch(FoldedName(pattern), FoldedName(name));
}

bool FoldedWildcardMatch(const std::u32string& p, const std::u32string& n) {
  if (Glob(p, n)) return true;
  // As on Windows, a trailing ".*" may also match nothing at all, so "*.*"
  // finds every name and "VM*.*" finds "VM_README" too.
  return p.size() >= 2 && p.compare(p.size() - 2, 2, U".*") == 0 &&
         Glob(std::u32string_view(p).substr(0, p.size() - 2), n);
}

}  // namespace vmu
