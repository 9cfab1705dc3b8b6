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

bool IsBareFileName(const std::string& name) { return name.empty() || package::IsBareFileName(name); }

void CheckDatabaseNames(const ConversionSettings& settings) {
  if (!IsBareFileName(ManifestPart(settings.ConvOldfile, settings.DataDir)) ||
      !IsBareFileName(ManifestPart(settings.ConvNewfile, settings.UpdateDir)) ||
      !IsBareFileName(settings.ConvDatabase) ||
      !IsBareFileName(ManifestPart(settings.ConvDatabasePath, settings.UpdateDir))) {
    Raise(kBadFileName);
  }
}

std::string DatabaseLockFileOf(const std::string& database) {
  const std::string ace = ".accdb";
  if (database.size() > ace.size() && SameText(database.substr(database.size() - ace.size()), ace))
    return database.substr(0, database.size() - ace.size()) + ".laccdb";
  return database.substr(0, database.size() - 3) + "ldb";
}

}  // namespace vmu
