// The folder information window (dFrmInfo): where the updater itself runs.
#pragma once

#include "wizard/frm_conversie.h"

namespace vmu {

// A double click on the wizard's picture: shows the window modal until OK.
void Image1_DblClick(FrmConversie& form);

}  // namespace vmu
