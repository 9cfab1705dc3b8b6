#include "platform/profile.h"

#include <exception>
#include <optional>

#include "platform/error.h"
#include "platform/ini_file.h"

namespace vmu {

std::string GetProfileString(FileSystem& fs, const std::string& section, const std::string& key,
                             const std::string& default_value, int buffer_size, const std::string& file) {
  std::optional<std::string> content;
  try {
    content = fs.ReadBytes(file);
  } catch (const std::exception&) {
    // Unreadable reads as missing: the caller gets the default.
  }
  return IniRead(content, section, key, default_value, buffer_size);
}

bool WriteProfileString(FileSystem& fs, const std::string& section, const std::string& key, const std::string& value,
                        const std::string& file) {
  try {
    std::optional<std::string> content;
    try {
      content = fs.ReadBytes(file);
    } catch (const VbError& error) {
      // Only a file that is really not there may be created; a file that
      // exists but cannot be read must not be replaced by one lone key.
      if (error.number() != kFileNotFound && error.number() != kPathNotFound) return false;
    }
    const std::optional<std::string> updated = IniWrite(content, section, key, value);
    if (updated) fs.ReplaceBytes(file, *updated);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace vmu
