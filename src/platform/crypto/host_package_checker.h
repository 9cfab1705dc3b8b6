// The package check on the host's files.
#pragma once

#include "platform/file_system.h"
#include "platform/package_checker.h"

namespace vmu {

class HostPackageChecker : public PackageChecker {
 public:
  explicit HostPackageChecker(FileSystem& fs) : fs_(fs) {}
  PackageCheck CopyAndCheck(const std::string& path, const std::string& copy, const std::string& trusted_keys) override;
  std::string Sha256OfFile(const std::string& path) override;
  // On a thread per core: hashing, not the disk, is what a package's files wait for.
  std::vector<FileHash> HashFiles(const std::vector<std::string>& paths) override;

 private:
  FileSystem& fs_;
};

}  // namespace vmu
