#include "wizard/file_list_entries.h"

#include "files/utility.h"
#include "package/bare_name.h"
#include "package/file_list.h"
#include "package/reserved_names.h"
#include "platform/error.h"

namespace vmu {

namespace {

constexpr int kInputPastEndOfFile = 62;

}  // namespace

std::vector<InstallEntry> ReadInstallEntries(const std::string& bytes, std::string& current) {
  const package::FileList list = package::ParseFileList(bytes);
  std::vector<InstallEntry> entries;
  for (const package::FileListEntry& entry : list.entries) {
    current = entry.name;
    const int location = ToByte(entry.location);
    // Only program and data folder entries are written anywhere, and a
    // folder part could lead them out of their folder.
    if (package::IsInstalledLocation(location) &&
        (!package::IsBareFileName(entry.name) || package::IsReservedName(entry.name)))
      Raise(kBadFileName);
    entries.push_back({entry.name, location});
  }
  if (list.lone_name) {
    current = list.lone_name->name;
    Raise(kInputPastEndOfFile, "Input past end of file");
  }
  return entries;
}

}  // namespace vmu
