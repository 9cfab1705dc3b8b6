#include "files/conversion_log.h"

namespace vmu {

void LogText(RunContext& ctx, const std::string& text) { ConversionLog(ctx.fs, ctx.folders.DataDir).Text(text); }

void ConversionLog::Text(const std::string& text) { fs_.AppendLine(data_dir_ + kLogFileName, text); }

}  // namespace vmu
