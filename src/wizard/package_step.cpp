#include "wizard/package_step.h"

#include "wizard/frm_conversie.h"

namespace vmu {

// The package dialog and the unpacker come with package installation.
void PackageStep(FrmConversie&) {}

}  // namespace vmu
