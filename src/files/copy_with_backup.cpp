#include "files/copy_with_backup.h"

#include "files/conversion_log.h"
#include "files/utility.h"
#include "platform/error.h"

namespace vmu {

void CopyWithBackup(RunContext& ctx, const std::array<std::string, 3>& backup_dir, const std::string& source,
                    const std::string& target, int location) {
  if (ctx.fs.FileExists(target)) {
    if (location < 1 || location > 2) Raise(kSubscriptOutOfRange);
    const std::string backup = backup_dir[location] + FileNameOfPath(target);
    ctx.fs.MoveFile(target, backup);
    // Logged only once the move has succeeded: the log tells what is in the backup folder.
    LogText(ctx, "Verplaatsen " + target + " naar " + backup);
  }
  LogText(ctx, "Kopieren " + source + " naar " + target);
  ctx.fs.CopyFile(source, target);
}

}  // namespace vmu
