#include "files/old_database_copy_name.h"

#include "platform/error.h"

namespace vmu {

namespace {
constexpr const char* kSuffix = ".vmu-staging";
}

std::string OldDatabaseCopyName(const std::string& old_database) { return old_database + kSuffix; }

void RemoveOldDatabaseCopies(RunContext& ctx) {
  const std::string& data_dir = ctx.folders.DataDir;
  if (data_dir.empty()) return;
  try {
    for (const std::string& name : ctx.fs.ListFiles(data_dir + "*" + kSuffix)) ctx.fs.DeleteFile(data_dir + name);
  } catch (const VbError&) {
  }
}

}  // namespace vmu
