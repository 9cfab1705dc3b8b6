#include "wizard/update_step.h"

#include "wizard/frm_conversie.h"

namespace vmu {

// The manifest, the version checks and the installation come with package
// installation; until then step 3 changes nothing.
void UpdateStep(FrmConversie&) {}

void AutomaticRestore(FrmConversie&) {}

}  // namespace vmu
