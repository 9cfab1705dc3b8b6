// INI text read and written in place. Whatever the file holds: a value
// written reads back, writing it again changes nothing, and every line but
// the one edited keeps its bytes (new lines may come in between).
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/ini_file.h"
#include "platform/ini_text.h"

namespace {

using vmu::fuzz::Require;

// A name or value from the input's first bytes, in an alphabet that the INI
// rules keep as written: no blanks or quotes at the ends, no line breaks,
// no "=" or brackets in names.
std::string Pick(std::string_view& rest, const std::vector<std::string>& alphabet, bool may_be_empty) {
  std::string out;
  const size_t length = rest.empty() ? 0 : static_cast<unsigned char>(rest[0]) % 6;
  if (!rest.empty()) rest.remove_prefix(1);
  for (size_t i = 0; i < length && !rest.empty(); ++i) {
    out += alphabet[static_cast<unsigned char>(rest[0]) % alphabet.size()];
    rest.remove_prefix(1);
  }
  if (out.empty() && !may_be_empty) out = "k";
  return out;
}

// Each line's bytes, its line end included.
std::vector<std::string> Lines(const std::string& bytes) {
  const vmu::IniText text(bytes);
  std::vector<std::string> lines{bytes.substr(0, text.body())};
  std::size_t pos = text.body();
  vmu::IniLine line;
  while (vmu::ReadIniLine(text, pos, line)) lines.push_back(bytes.substr(line.begin, line.next - line.begin));
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view rest = vmu::fuzz::Bytes(data, size);
  const std::vector<std::string> name_chars = {"a", "B", "7", "_", "\xC3\xA9", "x y"};
  const std::vector<std::string> value_chars = {"a", "=", ";", "[", "]", "\xE2\x82\xAC", "1", "b c"};
  const std::string section = Pick(rest, name_chars, false);
  const std::string key = Pick(rest, name_chars, false);
  const std::string value = Pick(rest, value_chars, true);
  const std::string before(rest);

  const std::optional<std::string> after = vmu::IniWrite(before, section, key, value);
  const std::string& now = after ? *after : before;
  Require(vmu::IniRead(now, section, key, "<none>", 255) == value, "the value written reads back");
  Require(!vmu::IniWrite(now, section, key, value), "a second write of the same value changes nothing");

  // Lines equal at both ends; at most one old line may lie between them.
  const std::vector<std::string> old_lines = Lines(before), new_lines = Lines(now);
  std::size_t front = 0, back = 0;
  while (front < old_lines.size() && front < new_lines.size() && old_lines[front] == new_lines[front]) ++front;
  while (back < old_lines.size() - front && back < new_lines.size() - front &&
         old_lines[old_lines.size() - 1 - back] == new_lines[new_lines.size() - 1 - back])
    ++back;
  Require(old_lines.size() - front - back <= 1, "only the edited line changes");
  return 0;
}
