// Step 2's check of the chosen package, made on the copy that is then
// started: the package must be whole, and, when the program folder holds the
// trusted keys of the supplier, signed by one of them.
#pragma once

#include <string>

#include "package/package_files.h"

namespace vmu {

class FrmConversie;

// The trusted keys in the program folder: one minisign public key a line,
// '#' comments. Installed by Velmora's installer; a signed update may bring
// a new one (its file list names it with location 1).
using package::kTrustedKeysName;

// Copies the chosen package to `copy` and checks that copy. False when the
// package is refused: the copy is gone, the user has been told why (a
// message box) and the log has its line. Logs one line for an accepted
// package too. `signed_by_trusted_key`: the installation has trusted keys
// and the package is signed with one of them.
bool CopyTrustedPackage(FrmConversie& form, const std::string& chosen, const std::string& chosen_name,
                        const std::string& copy, bool& signed_by_trusted_key);

// The name under which step 2 copies the package into the update folder.
inline constexpr const char* kUnpackerName = "VMU_ZP.exe";

// The text for a package that is not whole, or did not unpack, and its message.
std::string DamagedPackageText(const std::string& chosen_name);
void RefuseDamaged(FrmConversie& form, const std::string& chosen_name);

}  // namespace vmu
