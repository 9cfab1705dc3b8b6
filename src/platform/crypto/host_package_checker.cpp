#include "platform/crypto/host_package_checker.h"

#include <stdexcept>

#include "platform/crypto/package_verification.h"
#include "platform/error.h"

namespace vmu {

PackageCheck HostPackageChecker::Check(const std::string& path, const std::string* trusted_keys) {
  const std::string host = fs_.HostPath(path);
  std::vector<package::PublicKey> keys;
  if (trusted_keys) keys = package::ParseTrustedKeys(*trusted_keys);
  try {
    return crypto::CheckPackageFile(host, trusted_keys ? &keys : nullptr);
  } catch (const std::runtime_error&) {
    // The wizard has just chosen the file; what stops its reading is access.
    throw VbError(75);
  }
}

}  // namespace vmu
