#include "files/version_update.h"

#include <optional>

#include "files/utility.h"
#include "platform/ini_file.h"

namespace vmu {

namespace {

std::string IniPath(const std::string& data_dir) { return data_dir + "VM.ini"; }

}  // namespace

std::string ReadVersionUpdate(FileSystem& fs, const std::string& data_dir) {
  const std::string value = ReadIniRaw(fs, IniPath(data_dir), "Main", "VersionUpdate", "?");
  return value == "?" ? "0" : value;
}

void WriteVersionUpdate(FileSystem& fs, const std::string& data_dir, const std::string& value) {
  const std::string path = IniPath(data_dir);
  std::optional<std::string> content;
  if (fs.FileExists(path)) content = fs.ReadBytes(path);
  const std::optional<std::string> updated = IniWrite(content, "Main", "VersionUpdate", value);
  if (updated) fs.ReplaceBytes(path, *updated);
}

}  // namespace vmu
