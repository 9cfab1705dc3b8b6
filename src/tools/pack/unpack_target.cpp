#include "tools/pack/unpack_target.h"

#include <sys/stat.h>

#include <cstdlib>

#include "platform/error.h"
#include "platform/host/drive_map.h"
#include "tools/pack/file_io.h"

namespace vmu::pack {

namespace {

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string UnpackTarget(const std::string& folder) {
  if (!folder.empty() && folder[0] == '/') return folder;
  const char* variable = std::getenv("WINEPREFIX");
  const bool named = variable && *variable;
  const std::string prefix = DriveMap::DefaultPrefix();
  if (!IsFolder(prefix + "/drive_c") && !IsFolder(prefix + "/dosdevices"))
    throw PackError("cannot place " + folder + ": " +
                    (named ? "WINEPREFIX names " + prefix + ", which holds no Wine prefix"
                           : "WINEPREFIX is not set and there is no Wine prefix at " + prefix) +
                    "; start the package from the update wizard, or set WINEPREFIX to the prefix that holds Velmora");
  try {
    return DriveMap(prefix).ToHost(folder);
  } catch (const VbError& e) {
    throw PackError("cannot place " + folder + " in the Wine prefix " + prefix + ": " + e.description());
  }
}

}  // namespace vmu::pack
