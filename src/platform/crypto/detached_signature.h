// Detached minisign signatures over bytes held in memory: the update feed
// and its ".minisig", made by vmu-pack and checked by the wizard.
#pragma once

#include <string>
#include <string_view>

#include "platform/crypto/signing.h"
#include "platform/signature_checker.h"

namespace vmu::crypto {

// The ".minisig" text for `data`, prehashed as minisign does by default.
std::string SignDetached(const SecretKey& key, std::string_view data, const std::string& trusted_comment);

class DetachedSignatureChecker : public SignatureChecker {
 public:
  PackageCheck CheckDetached(std::string_view data, std::string_view minisig, std::string_view trusted_keys) override;
};

}  // namespace vmu::crypto
