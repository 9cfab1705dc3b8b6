#include "platform/ini_file.h"

#include <gtest/gtest.h>

namespace vmu {
namespace {

std::string Read(const std::string& content, const std::string& section, const std::string& key,
                 const std::string& default_value = "DEF") {
  return IniRead(content, section, key, default_value, 255);
}

// UTF-16LE bytes of a text, without a byte-order mark.
std::string Utf16Le(std::u16string_view text) {
  std::string out;
  for (char16_t unit : text) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  }
  return out;
}

TEST(IniReadTest, FollowsTheProfileRules) {
  struct Case {
    const char* what;
    std::string content, section, key, expected;
  };
  const Case cases[] = {
      {"case of names", "[main]\r\nversion=1\r\n", "MAIN", "VerSion", "1"},
      {"Windows-1252 letters", "[\xE9t\xE9]\r\n\xE4x=1\r\n", "ÉTÉ", "ÄX", "1"},
      {"blanks trimmed", " \t[ Main ]\x0C\r\n\x0B a  b =  b c \x1A\r\n", " Main\t", " a  b ", "b c"},
      {"first equals sign", "[M]\r\na=b=c\r\n", "M", "a", "b=c"},
      {"header to last bracket", "[a]b] junk\r\nk=v\r\n", "a]b", "k", "v"},
      {"bracket without close", "[M]\r\n[broken\r\nk=v\r\n", "M", "k", "v"},
      {"comment", "[M]\r\n;k=1\r\n ;k=1\r\nk=2\r\n", "M", "k", "2"},
      {"hash is no comment", "[M]\r\n#k=1\r\n", "M", "#k", "1"},
      {"no comment after value", "[M]\r\nk=v ; x\r\n", "M", "k", "v ; x"},
      {"first section only", "[M]\r\na=1\r\n[m]\r\na=2\r\nb=3\r\n", "M", "b", "DEF"},
      {"first section wins", "[M]\r\na=1\r\n[m]\r\na=2\r\n", "M", "a", "1"},
      {"first key wins", "[M]\r\nA=1\r\na=2\r\n", "M", "a", "1"},
      {"before first header", "a=0\r\n[M]\r\nb=1\r\n", "M", "a", "DEF"},
      {"no section matches them", "a=0\r\n[M]\r\n", "", "a", "DEF"},
      {"empty section name", "a=0\r\n[]\r\na=1\r\n", "", "a", "1"},
      {"key= is empty", "[M]\r\nk=\r\n", "M", "k", ""},
      {"key= with blanks", "[M]\r\nk = \t\r\n", "M", "k", ""},
      {"no equals sign", "[M]\r\nk\r\n", "M", "k", "DEF"},
      {"double quotes", "[M]\r\nk=\"val2\"\r\n", "M", "k", "val2"},
      {"one pair only", "[M]\r\nk=''s''\r\n", "M", "k", "'s'"},
      {"quoted blanks kept", "[M]\r\nk=\" x \"\r\n", "M", "k", " x "},
      {"mismatched quotes", "[M]\r\nk=\"x'\r\n", "M", "k", "\"x'"},
      {"lone quote", "[M]\r\nk=\"\r\n", "M", "k", "\""},
      {"empty quotes", "[M]\r\nk=''\r\n", "M", "k", ""},
      {"LF", "[M]\nk=1\nj=2", "M", "j", "2"},
      {"CR alone", "[M]\rk=1\rj=2\r", "M", "j", "2"},
      {"mixed line ends", "[M]\r\n\rk=1\n\r\nj=2", "M", "j", "2"},
      {"missing section", "[M]\r\nk=1\r\n", "N", "k", "DEF"},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.content, c.section, c.key), c.expected) << c.what;
}

TEST(IniReadTest, DefaultLosesTrailingSpacesOnlyAndEveryAnswerIsCutToTheBufferLessOneCharacter) {
  EXPECT_EQ(IniRead(std::nullopt, "M", "k", "dflt \t  ", 255), "dflt \t");
  EXPECT_EQ(IniRead(std::string("[M]\r\n"), "M", "k", "  x  ", 255), "  x");
  const std::string long_value(300, 'x');
  EXPECT_EQ(IniRead("[M]\r\nk=" + long_value, "M", "k", "", 255), std::string(254, 'x'));
  // Quotes go first, so all 254 characters are the value's.
  EXPECT_EQ(IniRead("[M]\r\nk=\"" + long_value + "\"", "M", "k", "", 255), std::string(254, 'x'));
  // Characters, not bytes: each "ë" is one byte on disk and two in UTF-8.
  std::string accented;
  for (int i = 0; i < 254; ++i) accented += "ë";
  EXPECT_EQ(IniRead("[M]\r\nk=" + std::string(300, '\xEB'), "M", "k", "", 255), accented);
  EXPECT_EQ(IniRead(std::nullopt, "M", "k", long_value, 255), std::string(254, 'x'));
  EXPECT_EQ(IniRead(std::string("[M]\r\nk=abc"), "M", "k", "", 1), "");
  EXPECT_EQ(IniRead(std::string("[M]\r\nk=abc"), "M", "k", "", 0), "");
}

TEST(IniWriteTest, RewritesTheKeyLineOnlyForANewValueAndKeepsEveryOtherByte) {
  const std::string before = "; top\n\n[Other]\r\nVersion=1\r\n[Main]\r  VerSion =  3 \n;c\r\n\x81\x8D=\xFF\r\n\r\nx=y";
  const std::string after = "; top\n\n[Other]\r\nVersion=1\r\n[Main]\rVerSion=4\n;c\r\n\x81\x8D=\xFF\r\n\r\nx=y";
  EXPECT_EQ(IniWrite(before, "main", "version", "4"), after);
  // The last line, without a line break, stays without one.
  EXPECT_EQ(IniWrite(std::string("[M]\r\nk=1"), "M", "k", "22"), "[M]\r\nk=22");
  // Only the first matching section holds the key.
  EXPECT_EQ(IniWrite(std::string("[M]\n[N]\nk=1\n[M]\nk=1\n"), "M", "k", "2"), "[M]\nk=2\r\n[N]\nk=1\n[M]\nk=1\n");
  // A key spelled with undefined Windows-1252 bytes keeps them.
  EXPECT_EQ(IniWrite(std::string("[M]\r\n\x81\x8D=1\r\n"), "M", "\u0081\u008D", "2"), "[M]\r\n\x81\x8D=2\r\n");
  // An unchanged value leaves the file.
  EXPECT_EQ(IniWrite(std::string("[M]\r\nk=1\r\n"), "m", "K", "1"), std::nullopt);
  EXPECT_EQ(IniWrite(std::string("[M]\r\n  k =  1\t\n"), "M", "k", "1"), std::nullopt);
  EXPECT_EQ(IniWrite(std::string("[M]\r\nk=\r\n"), "M", "k", ""), std::nullopt);
  // Case counts in values.
  EXPECT_EQ(IniWrite(std::string("[M]\r\nk=a\r\n"), "M", "k", "A"), "[M]\r\nk=A\r\n");
}

TEST(IniWriteTest, AddsKeysAndSections) {
  struct Case {
    const char* what;
    std::optional<std::string> before;
    std::string section, key, value, after;
  };
  const Case cases[] = {
      {"missing file", std::nullopt, "Section", "key", "value", "[Section]\r\nkey=value\r\n"},
      {"empty file", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
      {"after last non-blank line", "[M]\r\na=1\r\n;c\r\n\r\n \r\n[N]\r\n", "m", "b", "2",
       "[M]\r\na=1\r\n;c\r\nb=2\r\n\r\n \r\n[N]\r\n"},
      {"section without keys", "[M]\n\n[N]\n", "M", "b", "2", "[M]\nb=2\r\n\n[N]\n"},
      {"section at end without break", "[M]\r\na=1", "M", "b", "2", "[M]\r\na=1\r\nb=2\r\n"},
      {"first of duplicate sections", "[M]\r\n[N]\r\n[M]\r\n", "M", "b", "2", "[M]\r\nb=2\r\n[N]\r\n[M]\r\n"},
      {"line without equals is no key", "[M]\r\nb\r\n", "M", "b", "2", "[M]\r\nb\r\nb=2\r\n"},
      {"keys before first header", "b=1\r\n", "M", "b", "2", "b=1\r\n[M]\r\nb=2\r\n"},
      {"new section at end", "[M]\r\na=1\r\n\r\n", "S", "k", "v", "[M]\r\na=1\r\n\r\n[S]\r\nk=v\r\n"},
      {"no final break", "[M]\na=1", "S", "k", "v", "[M]\na=1\r\n[S]\r\nk=v\r\n"},
      {"final CR", "[M]\ra=1\r", "S", "k", "v", "[M]\ra=1\r[S]\r\nk=v\r\n"},
      {"names trimmed", std::nullopt, " S ", "\tk ", "v", "[S]\r\nk=v\r\n"},
      {"nothing quoted", std::nullopt, "S", "k", " \"x\" ", "[S]\r\nk= \"x\" \r\n"},
      {"empty value", std::nullopt, "S", "k", "", "[S]\r\nk=\r\n"},
      {"line breaks in a value", std::nullopt, "S", "k", "a\r\n[X]\nb", "[S]\r\nk=a  [X] b\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(IniWrite(c.before, c.section, c.key, c.value), c.after) << c.what;
}

TEST(IniEncodingTest, Windows1252RoundTrip) {
  const std::optional<std::string> file = IniWrite(std::nullopt, "Main", "Naam", "Kopiëren");
  ASSERT_TRUE(file);
  EXPECT_EQ(*file, "[Main]\r\nNaam=Kopi\xEBren\r\n");
  EXPECT_EQ(Read(*file, "Main", "Naam"), "Kopiëren");
  EXPECT_EQ(IniWrite(file, "Main", "Naam", "Kopiëren"), std::nullopt);
  // A character without a Windows-1252 byte cannot be stored as itself.
  EXPECT_EQ(IniWrite(file, "Main", "Naam", "Ω€"), "[Main]\r\nNaam=?\x80\r\n");
  // Undefined bytes read as C1 characters and come back unchanged.
  EXPECT_EQ(Read("[M]\r\nk=\x81\x9D", "M", "k"), "\u0081\u009D");
}

TEST(IniEncodingTest, Utf8WithMarkIsReadAndWrittenAsUtf8) {
  const std::string before = "\xEF\xBB\xBF[Main]\r\nNaam=Kopiëren\r\nΩ=1\n";
  EXPECT_EQ(Read(before, "main", "naam"), "Kopiëren");
  EXPECT_EQ(Read(before, "main", "ω"), "DEF");  // only Windows-1252 letters fold
  EXPECT_EQ(Read(before, "main", "Ω"), "1");
  EXPECT_EQ(IniWrite(before, "Main", "Naam", "Ω€"), "\xEF\xBB\xBF[Main]\r\nNaam=Ω€\r\nΩ=1\n");
  EXPECT_EQ(IniWrite(before, "Main", "Nieuw", "ë"), "\xEF\xBB\xBF[Main]\r\nNaam=Kopiëren\r\nΩ=1\nNieuw=ë\r\n");
  EXPECT_EQ(IniWrite(std::string("\xEF\xBB\xBF"), "S", "k", "ë"), "\xEF\xBB\xBF[S]\r\nk=ë\r\n");
}

TEST(IniEncodingTest, Utf16LittleEndianIsReadAndWrittenAsUtf16) {
  const std::string bom = "\xFF\xFE";
  // U+010A holds the byte 0x0A and U+0D0A the bytes 0x0A 0x0D: neither ends a line.
  const std::string untouched = Utf16Le(u"; \u010A\u0D0A \U0001F600\r\n");
  const std::string before = bom + untouched + Utf16Le(u"[Main]\nNaam = oud\r\nx=\u00EB\r\n\r\n[Next]\r\n");
  EXPECT_EQ(Read(before, "MAIN", "naam"), "oud");
  EXPECT_EQ(Read(before, "main", "X"), "ë");
  EXPECT_EQ(IniWrite(before, "main", "naam", "Kopiëren Ω"),
            bom + untouched + Utf16Le(u"[Main]\nNaam=Kopiëren Ω\r\nx=\u00EB\r\n\r\n[Next]\r\n"));
  EXPECT_EQ(IniWrite(before, "Main", "y", "\U0001F600"),
            bom + untouched + Utf16Le(u"[Main]\nNaam = oud\r\nx=\u00EB\r\ny=\U0001F600\r\n\r\n[Next]\r\n"));
  EXPECT_EQ(IniWrite(bom + Utf16Le(u"[A]"), "S", "k", "v"), bom + Utf16Le(u"[A]\r\n[S]\r\nk=v\r\n"));
}

TEST(IniEncodingTest, Utf16CutOffInItsLastUnitTakesTheWriteOnce) {
  const std::string bom = "\xFF\xFE";
  struct Case {
    const char* what;
    std::string before, section, expected;
  };
  const Case cases[] = {
      // A manifest of three bytes, as a broken download leaves it.
      {"no section", bom + "e", "Main", bom + "e\xD8" + Utf16Le(u"\r\n[Main]\r\nVer=1\r\n")},
      {"section ends in the cut", bom + Utf16Le(u"[Main]\r\nk=v") + "x", "Main",
       bom + Utf16Le(u"[Main]\r\nk=v") + "x\xD8" + Utf16Le(u"\r\nVer=1\r\n")},
      // A broken surrogate pair stays two broken characters.
      {"cut after a high surrogate", bom + Utf16Le(u"[Main]\r\nk=v\xD83D") + "x", "Main",
       bom + Utf16Le(u"[Main]\r\nk=v\xD83D") + "x\xD8" + Utf16Le(u"\r\nVer=1\r\n")},
      // The cut lies after the section: nothing is appended behind it.
      {"cut elsewhere", bom + Utf16Le(u"[Main]\r\nk=v\r\n[B]\r\n") + "x", "Main",
       bom + Utf16Le(u"[Main]\r\nk=v\r\nVer=1\r\n[B]\r\n") + "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<std::string> after = IniWrite(c.before, c.section, "Ver", "1");
    ASSERT_TRUE(after);
    EXPECT_EQ(*after, c.expected);
    EXPECT_EQ(Read(*after, c.section, "Ver"), "1");
    EXPECT_EQ(Read(*after, c.section, "k"), Read(c.before, c.section, "k"));  // the cut line reads as before
    EXPECT_EQ(IniWrite(*after, c.section, "Ver", "1"), std::nullopt);         // the next visit changes nothing
  }
}

// Arbitrary bytes are the INI fuzz harness's; here the two limits it does not reach.
TEST(IniRobustnessTest, LongLinesAreCutAndNulBytesAreCharacters) {
  EXPECT_EQ(IniRead("[M]\r\nk=" + std::string(2 * 1024 * 1024, 'a'), "M", "k", "", 255), std::string(254, 'a'));
  EXPECT_EQ(IniRead(std::string("[M]\0\r\nk\0=\0v\0", 12), "M", std::string("k\0", 2), "", 255),
            std::string("\0v\0", 3));
}

}  // namespace
}  // namespace vmu
