#include "files/check_dir.h"

#include "files/conversion_log.h"
#include "files/delete_files.h"
#include "files/trusted_paths.h"
#include "platform/error.h"

namespace vmu {

void CheckDir(RunContext& ctx, Dialogs& dialogs, const std::string& folder) {
  // Not trapped: the caller must not go on to write into the folder it points to.
  RefuseLink(ctx.fs, folder);
  try {
    if (ctx.fs.ListFiles(folder).empty()) {
      LogText(ctx, "Maken " + folder);
      ctx.fs.MakeFolder(folder);
    } else {
      LogText(ctx, "Leegmaken " + folder);
      DeleteFiles(ctx.fs, folder + "*.*");
    }
  } catch (const VbError& e) {
    // An empty folder is found only by trying to create it.
    if (e.number() == kPathFileAccessError) {
      LogText(ctx, folder + " bestond al maar was leeg");
      return;
    }
    MessageBoxSpec message;
    message.text = e.description();
    message.title = std::to_string(e.number());
    dialogs.ShowMessage(message);
    LogText(ctx, " Fout bij het checken van de directory: " + e.description() + " " + std::to_string(e.number()));
  }
}

}  // namespace vmu
