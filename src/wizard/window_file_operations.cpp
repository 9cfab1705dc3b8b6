// The window's public file operations, over the folder and roll-back code of files/.
#include "files/check_dir.h"
#include "files/turn_back.h"
#include "wizard/frm_conversie.h"

namespace vmu {

void FrmConversie::CheckDir(const std::string& folder) { vmu::CheckDir(ctx, view, folder); }

bool FrmConversie::fTurnBack(bool completed_installation) {
  return vmu::fTurnBack(ctx, view, state.BackupDir, state.DirIndex, completed_installation);
}

}  // namespace vmu
