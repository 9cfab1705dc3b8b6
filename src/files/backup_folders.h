// The backup folders of an installation: DataDir & "ConversieBackup-1\" keeps
// what it replaced in the program folder, "ConversieBackup-2\" what it
// replaced in the data folder.
#pragma once

#include <string>

namespace vmu {

inline std::string BackupFolder(const std::string& data_dir, int location) {
  return data_dir + "ConversieBackup-" + std::to_string(location) + "\\";
}

}  // namespace vmu
