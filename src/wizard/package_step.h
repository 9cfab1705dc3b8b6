// Step 2 of the wizard: choosing the package and starting its unpacker.
#pragma once

namespace vmu {

class FrmConversie;

void PackageStep(FrmConversie& form);

}  // namespace vmu
