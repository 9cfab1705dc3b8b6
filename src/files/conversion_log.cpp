#include "files/conversion_log.h"

#include "files/trusted_paths.h"
#include "platform/error.h"

namespace vmu {

void LogText(RunContext& ctx, const std::string& text) { ConversionLog(ctx.fs, ctx.folders.DataDir).Text(text); }

void ConversionLog::Text(const std::string& text) {
  RefuseLink(fs_, data_dir_ + kLogFileName);  // an append would write wherever it points
  fs_.AppendLine(data_dir_ + kLogFileName, text);
}

void FlushLog(RunContext& ctx) {
  const std::string path = ctx.folders.DataDir + kLogFileName;
  try {
    if (!ctx.fs.FileExists(path)) return;
    ctx.fs.SyncFile(path);
    ctx.fs.SyncFolder(ctx.folders.DataDir);
  } catch (const VbError&) {
  }
}

void LogTextIfPossible(RunContext& ctx, const std::string& text) {
  try {
    LogText(ctx, text);
  } catch (const VbError&) {
  }
}

}  // namespace vmu
