#include "files/utility.h"

#include <vector>

#include "package/whole_number.h"
#include "platform/error.h"
#include "platform/profile.h"

namespace vmu {

namespace {

// The profile read is given a buffer of 255 characters: 254 and the NUL.
constexpr int kIniBufferSize = 255;
// The line-break replacement counts positions in a 16-bit signed integer.
constexpr std::size_t kMaxIniValueLength = 32767;

std::size_t CharacterCount(const std::string& text) {
  std::size_t count = 0;
  for (unsigned char ch : text)
    if ((ch & 0xC0) != 0x80) ++count;
  return count;
}

// Raises 13 for text that is not a number, 6 for one outside the range.
long long ToInteger(const std::string& text, package::NumberRange range) {
  const package::WholeNumber number = package::ReadWholeNumber(text, range);
  if (number.problem == package::NumberProblem::kNotANumber) Raise(kTypeMismatch);
  if (number.problem == package::NumberProblem::kOutOfRange) Raise(kOverflow);
  return number.value;
}

}  // namespace

std::vector<std::string> SplitAtBackslash(const std::string& path) {
  std::vector<std::string> pieces;
  if (path.empty()) return pieces;
  std::size_t start = 0;
  for (;;) {
    std::size_t pos = path.find('\\', start);
    if (pos == std::string::npos) {
      pieces.push_back(path.substr(start));
      return pieces;
    }
    pieces.push_back(path.substr(start, pos - start));
    start = pos + 1;
  }
}

std::string ReadIniRaw(FileSystem& fs, const std::string& file, const std::string& section, const std::string& key,
                       const std::string& default_value) {
  return GetProfileString(fs, section, key, default_value, kIniBufferSize, file);
}

void WriteIni(FileSystem& fs, const std::string& file, const std::string& section, const std::string& key,
              const std::string& value) {
  if (CharacterCount(value) > kMaxIniValueLength) Raise(kOverflow);
  std::string one_line = value;
  for (char& ch : one_line)
    if (ch == '\r' || ch == '\n') ch = ' ';
  // A failed write is lost on purpose: the callers go on with their defaults.
  // Nor is it written through a link (Update.ini, the only file written so).
  if (!fs.IsLink(file)) (void)WriteProfileString(fs, section, key, one_line, file);
}

std::string ReadIni(RunContext& ctx, const std::string& section, const std::string& key,
                    const std::string& default_value, const std::string& file) {
  std::string path;
  if (file.empty()) path = ctx.folders.UpdateIniPath;
  else if (file.size() >= 2 && file[1] == ':') path = file;
  else path = ctx.folders.DataDir + file;
  return ReadIniAt(ctx.fs, path, section, key, default_value);
}

std::string ReadIniAt(FileSystem& fs, const std::string& path, const std::string& section, const std::string& key,
                      const std::string& default_value) {
  // "?" marks a missing value, so that an empty value can be told from it.
  std::string value = ReadIniRaw(fs, path, section, key, "?");
  if (value == "?") {
    value = default_value;
    WriteIni(fs, path, section, key, default_value);
  }
  return value;
}

std::string DirectoryOfPath(const std::string& path) {
  std::vector<std::string> pieces = SplitAtBackslash(path);
  std::string folder;
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i) folder += pieces[i] + "\\";
  return folder;
}

std::string FileNameOfPath(const std::string& path) {
  std::string rest = path;
  if (!rest.empty() && rest.back() == '\\') rest.pop_back();
  if (rest.empty()) Raise(kInvalidArgument);
  std::size_t pos = rest.rfind('\\');
  return pos == std::string::npos ? rest : rest.substr(pos + 1);
}

int ToInt32(const std::string& text) { return static_cast<int>(ToInteger(text, package::kLongRange)); }

int ToInt16(const std::string& text) { return static_cast<int>(ToInteger(text, package::kIntegerRange)); }

int ToByte(const std::string& text) { return static_cast<int>(ToInteger(text, package::kByteRange)); }

}  // namespace vmu
