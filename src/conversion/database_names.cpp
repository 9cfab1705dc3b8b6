#include "conversion/database_names.h"

#include "files/same_text.h"
#include "package/bare_name.h"
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

bool IsEmptyOrBareFileName(const std::string& name) { return name.empty() || package::IsBareFileName(name); }

void CheckDatabaseNames(const ConversionSettings& settings) {
  if (!IsEmptyOrBareFileName(ManifestPart(settings.ConvOldfile, settings.DataDir)) ||
      !IsEmptyOrBareFileName(ManifestPart(settings.ConvNewfile, settings.UpdateDir)) ||
      !IsEmptyOrBareFileName(settings.ConvDatabase) ||
      !IsEmptyOrBareFileName(ManifestPart(settings.ConvDatabasePath, settings.UpdateDir))) {
    Raise(kBadFileName);
  }
}

}  // namespace vmu
