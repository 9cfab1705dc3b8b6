// Checks a detached minisign signature (a ".minisig" file) over bytes the
// caller already holds, such as the update feed: who signed exactly these
// bytes, against the text of the trusted-keys file.
#pragma once

#include <string_view>

#include "platform/package_checker.h"

namespace vmu {

class SignatureChecker {
 public:
  virtual ~SignatureChecker() = default;
  // Signed, Unsigned (no signature file), UnknownKey, BadSignature, or
  // KeysUnreadable when `trusted_keys` holds no key.
  virtual PackageCheck CheckDetached(std::string_view data, std::string_view minisig,
                                     std::string_view trusted_keys) = 0;
};

}  // namespace vmu
