// Jet files read with mdbtools' libmdb. libmdb trusts the file it reads, so
// each copy runs in a child process of its own: a damaged file that makes it
// crash or loop ends that child, never the wizard.
#pragma once

#include "platform/file_system.h"
#include "platform/jet_files.h"

namespace vmu {

class MdbJetFiles : public JetFiles {
 public:
  // fs maps the Windows paths onto host files.
  explicit MdbJetFiles(FileSystem& fs) : fs_(fs) {}
  DatabaseFormat FormatOf(const std::string& path) override;
  JetCopyOutcome CopyToSqlite(const std::string& jet_path, const std::string& sqlite_path) override;
  void RemoveCopy(const std::string& sqlite_path) override;

 private:
  FileSystem& fs_;
};

}  // namespace vmu
