#include "wizard/frm_conversie.h"
#include "wizard/package_step.h"
#include "wizard/update_step.h"

namespace vmu {

StepWork DefaultSteps() { return StepWork{PackageStep, UpdateStep, AutomaticRestore}; }

}  // namespace vmu
