#include "package/bare_name.h"

namespace vmu::package {

std::optional<std::string> NameProblem(std::string_view name) {
  if (name.empty()) return "is empty";
  const auto separator = [](char ch) { return ch == '/' || ch == '\\'; };
  // "C:x" is relative to drive C's current folder: as good as absolute.
  if (separator(name.front()) || (name.size() >= 2 && name[1] == ':')) return "is an absolute path";
  // Any "..", not only a whole path component: the wizard has always refused them.
  if (name.find("..") != std::string_view::npos) return "contains \"..\" (it could climb out of the folder)";
  if (name.find_first_of("/\\") != std::string_view::npos) return "has a folder part";
  if (name.find(':') != std::string_view::npos) return "contains a colon";
  // Windows drops trailing dots and blanks: such a name is the folder itself.
  if (name.find_first_not_of(". ") == std::string_view::npos) return "is not a file name";
  if (name.find('\0') != std::string_view::npos) return "holds a NUL character";
  return std::nullopt;
}

bool IsBareFileName(std::string_view name) { return !NameProblem(name); }

}  // namespace vmu::package
