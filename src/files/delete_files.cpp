#include "files/delete_files.h"

#include <vector>

#include "platform/error.h"

namespace vmu {

void DeleteFiles(FileSystem& fs, const std::string& pattern) {
  const std::string folder = pattern.substr(0, pattern.find_last_of('\\') + 1);
  // An empty name would mean "everything" only by accident; refuse it.
  if (folder.size() == pattern.size()) Raise(kBadFileName);
  const std::vector<std::string> names = fs.ListFiles(pattern);
  if (names.empty()) Raise(folder.empty() || fs.FolderExists(folder) ? kFileNotFound : kPathNotFound);
  for (const std::string& name : names) fs.DeleteFile(folder + name);
}

void RemoveTemporaryFiles(FileSystem& fs, const std::string& folder) {
  const std::string prefix = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
  for (const std::string& name : fs.ListTemporaryFiles(folder)) {
    try {
      fs.DeleteFile(prefix + name);
    } catch (const VbError& e) {
      if (e.number() != kFileNotFound) throw;
    }
  }
}

}  // namespace vmu
