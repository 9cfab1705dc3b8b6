#include "files/copy_with_backup.h"

#include "files/conversion_log.h"
#include "files/utility.h"
#include "platform/dialogs.h"
#include "platform/error.h"

namespace vmu {

void KeepPrevious(FileSystem& fs, const std::string& target, const std::string& backup) {
  if (fs.FileExists(backup)) Raise(kFileAlreadyExists);
  if (!fs.LinkFile(target, backup)) {
    fs.CopyFile(target, backup);
    fs.SyncFile(backup);
  }
}

int AddedFileMode(int package_mode) { return (package_mode & 0111) ? 0755 : 0644; }

void ReplaceKept(RunContext& ctx, const std::string& backup, const std::string& source, const std::string& target,
                 const std::string& identity) {
  const bool replaces = !backup.empty();
  // Both lines in one write. "Verplaatsen" only once the backup is there:
  // the log tells what is in the backup folder.
  const std::string copying = "Kopieren " + source + " naar " + target;
  LogText(ctx, replaces ? "Verplaatsen " + target + " naar " + backup + kCrLf + copying : copying);
  const int mode = replaces ? ctx.fs.FileMode(target) : AddedFileMode(ctx.fs.FileMode(source));
  ctx.fs.PlaceFile(source, target, mode, identity);
}

void CopyWithBackup(RunContext& ctx, const std::array<std::string, 3>& backup_dir, const std::string& source,
                    const std::string& target, int location) {
  std::string backup;
  if (ctx.fs.FileExists(target)) {
    if (location < 1 || location > 2) Raise(kSubscriptOutOfRange);
    backup = backup_dir[location] + FileNameOfPath(target);
    KeepPrevious(ctx.fs, target, backup);
    ctx.fs.SyncFolder(DirectoryOfPath(backup));
  }
  ReplaceKept(ctx, backup, source, target);
}

}  // namespace vmu
