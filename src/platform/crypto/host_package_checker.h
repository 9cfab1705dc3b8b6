// The package check on the host's files.
#pragma once

#include "platform/file_system.h"
#include "platform/package_checker.h"

namespace vmu {

class HostPackageChecker : public PackageChecker {
 public:
  explicit HostPackageChecker(FileSystem& fs) : fs_(fs) {}
  PackageCheck Check(const std::string& path, const std::string* trusted_keys) override;

 private:
  FileSystem& fs_;
};

}  // namespace vmu
