// Reads a package's seal and checks it: the SHA-256 of its bytes, then its
// signature against the trusted keys.
#pragma once

#include <string>
#include <vector>

#include "package/minisign_format.h"
#include "package/package_seal.h"
#include "platform/package_checker.h"

namespace vmu::crypto {

struct SealedPackage {
  bool found = false;
  std::string why;  // when not found
  package::SealLayout seal;
  uint64_t size = 0;
};

// The seal of an open package file. Raises std::runtime_error when it cannot be read.
SealedPackage ReadPackageSeal(int fd, const std::string& path);

// Checks a package file (host path). `keys` null: only that it is whole.
// Raises std::runtime_error when it cannot be read.
PackageCheck CheckPackageFile(const std::string& host_path, const std::vector<package::PublicKey>* keys);
// The same for an open file (read with pread; its offset is left alone).
PackageCheck CheckPackage(int fd, const std::string& host_path, const std::vector<package::PublicKey>* keys);

}  // namespace vmu::crypto
