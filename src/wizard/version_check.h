// Whether the package fits the installed version.
#pragma once

#include <cstdint>

namespace vmu {

class FrmConversie;

// version × 1000 + update in 32 bits; raises 6 when it does not fit.
int32_t CombinedVersion(int32_t version, int32_t update);

// True when the installation has at least the package's lowest version and
// the package is newer than it. Otherwise sets the refusal (FailureFlag,
// ResultText, its log line) and returns false.
bool PackageAccepted(FrmConversie& form);

}  // namespace vmu
