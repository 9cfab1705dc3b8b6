#include "startup/installation_guard.h"

namespace vmu {

bool ClaimInstallation(RunContext& ctx, Dialogs& dialogs, const std::string& data_dir, const std::string& then_text) {
  if (!ctx.lock || data_dir.empty()) return true;
  if (ctx.lock->Take(data_dir) != LockResult::Busy) return true;
  MessageBoxSpec message;
  message.text = "Er is al een update van Velmora bezig in de data folder " + data_dir + kCrLf + then_text;
  message.icon = Icon::Exclamation;
  dialogs.ShowMessage(message);
  return false;
}

}  // namespace vmu
