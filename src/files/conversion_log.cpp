#include "files/conversion_log.h"

#include "platform/error.h"

namespace vmu {

void LogText(RunContext& ctx, const std::string& text) {
  ctx.fs.AppendLine(ctx.folders.DataDir + kLogFileName, text);
}

void LogTextIfPossible(RunContext& ctx, const std::string& text) {
  try {
    LogText(ctx, text);
  } catch (const VbError&) {
  }
}

}  // namespace vmu
