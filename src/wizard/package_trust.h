// Step 2's check of the chosen package, before it is copied or started: the
// package must be whole, and, when the program folder holds the trusted
// keys of the supplier, signed by one of them.
#pragma once

#include <string>

#include "package/package_files.h"

namespace vmu {

class FrmConversie;

// The trusted keys in the program folder: one minisign public key a line,
// '#' comments. Installed by Velmora's installer; a signed update may bring
// a new one (its file list names it with location 1).
using package::kTrustedKeysName;

// False when the package is refused: the user has been told why (a message
// box) and the log has its line. Logs one line for an accepted package too.
bool PackageIsTrusted(FrmConversie& form, const std::string& chosen, const std::string& chosen_name);

}  // namespace vmu
