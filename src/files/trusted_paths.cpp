#include "files/trusted_paths.h"

#include "files/backup_record.h"
#include "files/conversion_log.h"
#include "files/update_journal.h"
#include "platform/error.h"

namespace vmu {

namespace {

std::string Mapped(FileSystem& fs, const std::string& folder) {
  std::string host = fs.HostPath(folder);
  while (host.size() > 1 && host.back() == '/') host.pop_back();
  return host;
}

bool PlainName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char c : name)
    if (static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      return false;
  return true;
}

}  // namespace

std::vector<std::string> UpdateFolders(const FolderSettings& folders) {
  const std::string& data = folders.DataDir;
  return {folders.ProgramDir, data, data + "ConversieBackup-1\\", data + "ConversieBackup-2\\", data + "Update\\"};
}

void RefuseLink(FileSystem& fs, const std::string& path) {
  if (fs.IsLink(path)) throw VbError(kPermissionDenied, path + " is een koppeling en wordt niet gebruikt");
}

void RefuseOwnLinks(FileSystem& fs, const std::string& data_dir) {
  for (const char* name : {"Update\\", "ConversieBackup-1\\", "ConversieBackup-2\\", kJournalFileName,
                           kBackupRecordName, kLogFileName, "Update.ini"})
    RefuseLink(fs, data_dir + name);
}

bool SameFolder(FileSystem& fs, const std::string& a, const std::string& b) {
  try {
    return !a.empty() && !b.empty() && Mapped(fs, a) == Mapped(fs, b);
  } catch (const VbError&) {
    return false;
  }
}

bool InOneOf(FileSystem& fs, const std::string& path, const std::vector<std::string>& folders) {
  const std::size_t slash = path.find_last_of('\\');
  if (slash == std::string::npos || !PlainName(path.substr(slash + 1))) return false;
  const std::string folder = path.substr(0, slash + 1);
  for (const std::string& allowed : folders)
    if (SameFolder(fs, folder, allowed)) return true;
  return false;
}

}  // namespace vmu
