#include "conversion/convert.h"

#include "wizard/frm_conversie.h"

namespace vmu {

// Placeholder until the conversion lands: a package that asks for a
// conversion is refused rather than installed without one.
void Convert(FrmConversie& form) {
  form.state.FailureFlag = true;
  form.state.ResultText = "Deze versie van het updateprogramma kan de database nog niet converteren.";
}

}  // namespace vmu
