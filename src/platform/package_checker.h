// Checks a package file before the wizard copies or starts it: that it is
// whole (its seal), and who signed it.
#pragma once

#include <string>

namespace vmu {

enum class PackageVerdict {
  Intact,        // whole; its signature was not asked about
  Signed,        // whole and signed by one of the trusted keys
  Unsigned,      // whole, but carries no signature
  UnknownKey,    // whole, signed by a key that is not trusted
  BadSignature,  // its signature does not match its contents
  Damaged,       // truncated, altered or no package at all
};

struct PackageCheck {
  PackageVerdict verdict = PackageVerdict::Damaged;
  std::string detail;  // English, for the log and standard error
  std::string key_id;  // the signing key's id as minisign shows it, when known
};

class PackageChecker {
 public:
  virtual ~PackageChecker() = default;
  // `path` in Windows form. `trusted_keys`: the text of a trusted-keys file
  // (one minisign public key a line), or null to check only that the
  // package is whole. Raises VbError when the file cannot be read.
  virtual PackageCheck Check(const std::string& path, const std::string* trusted_keys) = 0;
};

}  // namespace vmu
