#include "wizard/package_trust.h"

#include "platform/dialogs.h"
#include "wizard/frm_conversie.h"

namespace vmu {

namespace {

void Refuse(FrmConversie& form, const std::string& text) {
  MessageBoxSpec message;
  message.text = text;
  message.icon = Icon::Critical;
  form.view.ShowMessage(message);
}

std::string Reason(const PackageCheck& check) {
  switch (check.verdict) {
    case PackageVerdict::Unsigned: return "het updatefile is niet ondertekend.";
    case PackageVerdict::UnknownKey:
      return "het updatefile is ondertekend met een onbekende sleutel (" + check.key_id + ").";
    default: return "de handtekening past niet bij de inhoud van het updatefile.";
  }
}

}  // namespace

std::string DamagedPackageText(const std::string& chosen_name) {
  return "Het updatefile [" + chosen_name + "] is beschadigd of onvolledig." + kCrLf + kCrLf +
         "Download de update opnieuw en kies dan het nieuwe updatefile.";
}

void RefuseDamaged(FrmConversie& form, const std::string& chosen_name) {
  Refuse(form, DamagedPackageText(chosen_name));
}

bool CopyTrustedPackage(FrmConversie& form, const std::string& chosen, const std::string& chosen_name,
                        const std::string& copy, bool& signed_by_trusted_key) {
  RunContext& ctx = form.ctx;
  signed_by_trusted_key = false;
  if (!ctx.packages) {
    ctx.fs.CopyFile(chosen, copy);
    // A downloaded package usually lacks the execute bits; Windows needs none.
    ctx.fs.AllowExecution(copy);
    return true;
  }
  const std::string keys_path = ctx.folders.ProgramDir + kTrustedKeysName;
  const PackageCheck check = ctx.packages->CopyAndCheck(chosen, copy, keys_path);
  for (int line : check.ignored_lines)
    form.LogText(std::string(kTrustedKeysName) + " regel " + std::to_string(line) +
                 " bevat geen sleutel en is overgeslagen");

  switch (check.verdict) {
    case PackageVerdict::Intact:
      form.LogText("Updatefile " + chosen + " niet op een handtekening gecontroleerd: geen " + kTrustedKeysName +
                   " in de programmamap");
      return true;
    case PackageVerdict::Signed:
      form.LogText("Handtekening van updatefile " + chosen + " in orde (sleutel " + check.key_id + ")");
      signed_by_trusted_key = true;
      return true;
    case PackageVerdict::Damaged:
      form.LogText("Updatefile " + chosen + " geweigerd: beschadigd of onvolledig (" + check.detail + ")");
      RefuseDamaged(form, chosen_name);
      return false;
    case PackageVerdict::KeysUnreadable:
      form.LogText("Updatefile " + chosen + " geweigerd: " + keys_path + " onleesbaar (" + check.detail + ")");
      Refuse(form, "Het bestand " + keys_path +
                       " met de sleutels van de leverancier kan niet gelezen worden. Zolang dat zo is, wordt "
                       "geen enkele update geïnstalleerd." +
                       kCrLf + kCrLf + "Herstel dit bestand of neem contact op met uw leverancier.");
      return false;
    default:
      form.LogText("Updatefile " + chosen + " geweigerd: geen geldige handtekening (" + check.detail + ")");
      Refuse(form, "Het updatefile [" + chosen_name +
                       "] komt niet van de leverancier van Velmora of is gewijzigd nadat het is ondertekend. "
                       "De update wordt niet geïnstalleerd." +
                       kCrLf + kCrLf + "Reden: " + Reason(check));
      return false;
  }
}

}  // namespace vmu
