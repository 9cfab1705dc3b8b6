#include "files/conversion_log.h"

namespace vmu {

void LogText(RunContext& ctx, const std::string& text) {
  ctx.fs.AppendLine(ctx.folders.DataDir + kLogFileName, text);
}

}  // namespace vmu
