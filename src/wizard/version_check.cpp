#include "wizard/version_check.h"

#include "files/format_version.h"
#include "platform/error.h"
#include "wizard/frm_conversie.h"

namespace vmu {

int32_t CombinedVersion(int32_t version, int32_t update) {
  int32_t product = 0, sum = 0;
  if (__builtin_mul_overflow(version, 1000, &product) || __builtin_add_overflow(product, update, &sum))
    Raise(kOverflow);
  return sum;
}

bool PackageAccepted(FrmConversie& form) {
  WizardState& s = form.state;
  const int32_t installed = CombinedVersion(s.InstalledVersion, s.InstalledUpdate);
  const int32_t lowest = CombinedVersion(s.VerLow, s.VerLowUpdate);
  if (installed < lowest) {
    s.FailureFlag = true;
    s.ResultText = std::string(
                       "Uw huidige applicatie heeft niet het minimaal vereiste versienummer voor deze "
                       "update. Het kan zijn dat u één of meerdere voorgaande updates niet heeft "
                       "geïnstalleerd. Installeer deze alsnog of neem contact op met uw leverancier") +
                   kCrLf + kCrLf +
                   "Uw huidige versie is: " + FormatVersion(s.InstalledVersion, true, s.InstalledUpdate) + kCrLf +
                   "De vereiste versie is: " + FormatVersion(s.VerLow, true, s.VerLowUpdate);
    form.LogText(s.ResultText);
    s.ResultText += std::string(kCrLf) + "Druk op Vorige om eventueel een andere updatefile te selecteren";
    return false;
  }
  const int32_t offered = CombinedVersion(s.Ver, s.VerUpdate);
  if (offered <= installed) {
    s.FailureFlag = true;
    form.LogText("Deze update heeft u al geïnstalleerd. ");
    s.ResultText = std::string("Deze update heeft u al geïnstalleerd. ") + kCrLf +
                   "Druk op Stoppen om de upgrade af te breken. U kunt weer verder met Velmora. " + kCrLf +
                   "Druk op Vorige om eventueel een andere updatefile te selecteren";
    return false;
  }
  return true;
}

}  // namespace vmu
