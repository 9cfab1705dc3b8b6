// The conversion of the user's database into the one the package ships.
#pragma once

namespace vmu {

class FrmConversie;

// Reads its inputs from the wizard's state; reports through FailureFlag,
// ResultText and ButtonsBlocked. Catches its own errors.
void Convert(FrmConversie& form);

}  // namespace vmu
