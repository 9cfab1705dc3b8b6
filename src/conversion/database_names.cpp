#include "conversion/database_names.h"

#include "platform/error.h"

namespace vmu {

namespace {

// The part of a path that the manifest supplied: what follows the folder the
// wizard put in front of it. A path outside that folder counts as a whole.
std::string ManifestPart(const std::string& path, const std::string& folder) {
  if (path.compare(0, folder.size(), folder) == 0) return path.substr(folder.size());
  return path;
}

}  // namespace

bool IsBareFileName(const std::string& name) {
  if (name == "." || name == "..") return false;
  return name.find_first_of("\\/:") == std::string::npos;
}

void CheckDatabaseNames(const WizardState& state, const FolderSettings& folders) {
  if (!IsBareFileName(ManifestPart(state.ConvOldfile, folders.DataDir)) ||
      !IsBareFileName(ManifestPart(state.ConvNewfile, state.UpdateDir)) || !IsBareFileName(state.ConvDatabase) ||
      !IsBareFileName(ManifestPart(state.ConvDatabasePath, state.UpdateDir))) {
    Raise(kBadFileName);
  }
}

}  // namespace vmu
