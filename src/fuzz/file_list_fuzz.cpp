// The file list as vmu-pack checks it and as the wizard installs it, both
// through the one shared reader. A list that vmu-pack lets through installs,
// entry for entry; so every list the wizard refuses, vmu-pack refuses too.
// (vmu-pack is the stricter: it also refuses what the wizard would pass
// over or fail on later, such as a name listed twice.)
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "package/file_list.h"
#include "platform/error.h"
#include "tools/pack/source_check.h"
#include "wizard/file_list_entries.h"

using vmu::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(vmu::fuzz::Bytes(data, size));
  const vmu::package::FileList list = vmu::package::ParseFileList(bytes);
  // Every file the list names is in the folder: only the list itself is judged.
  std::vector<std::string> names;
  for (const vmu::package::FileListEntry& entry : list.entries) names.push_back(entry.name);
  vmu::pack::SourceCheck check;
  vmu::pack::CheckFileList(bytes, "FileList.VML", "src", names, "", check);

  std::string current;
  std::optional<std::vector<vmu::InstallEntry>> installed;
  try {
    installed = vmu::ReadInstallEntries(bytes, current);
  } catch (const vmu::VbError&) {
  }
  if (!check.problems.empty()) return 0;
  Require(installed.has_value(), "a list vmu-pack accepts is accepted by the wizard");
  Require(installed->size() == list.entries.size(), "the wizard installs every entry vmu-pack saw");
  for (std::size_t i = 0; i < installed->size(); ++i) {
    Require((*installed)[i].name == list.entries[i].name, "both read the same name");
    Require((*installed)[i].location == vmu::package::ReadLocation(list.entries[i]).value,
            "both read the same location");
  }
  return 0;
}
