// Step 3 of the wizard: checking the package against the installation,
// installing its files, and putting the old files back when that fails.
#pragma once

namespace vmu {

class FrmConversie;

void UpdateStep(FrmConversie& form);
void AutomaticRestore(FrmConversie& form);

}  // namespace vmu
