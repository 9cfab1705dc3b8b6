#include "package/unpacked_files.h"

#include <string>

namespace vmu::package {

namespace {

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

bool IsHexDigest(std::string_view text) {
  return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

}  // namespace

std::string UnpackedFileLine(const UnpackedFile& file) {
  return file.sha256 + " " + std::to_string(file.size) + " " + file.name + "\n";
}

std::optional<UnpackedFiles> ParseUnpackedFiles(std::string_view text) {
  UnpackedFiles files;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    const std::size_t blank = line.find(' ', 65);
    if (line.size() < 68 || line[64] != ' ' || blank == std::string_view::npos || !IsHexDigest(line.substr(0, 64)))
      return std::nullopt;
    const std::string_view size = line.substr(65, blank - 65);
    if (size.empty() || size.size() > 19 || size.find_first_not_of("0123456789") != std::string_view::npos)
      return std::nullopt;
    UnpackedFile file{std::string(line.substr(blank + 1)), std::stoull(std::string(size)),
                      std::string(line.substr(0, 64))};
    if (file.name.empty() || !files.emplace(Upper(file.name), file).second) return std::nullopt;
  }
  return files;
}

}  // namespace vmu::package
