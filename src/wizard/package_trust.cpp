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
    case PackageVerdict::Unsigned: return "het bestand is niet ondertekend.";
    case PackageVerdict::UnknownKey:
      return "het bestand is ondertekend met een onbekende sleutel (" + check.key_id + ").";
    default: return "de handtekening past niet bij de inhoud van het bestand.";
  }
}

}  // namespace

bool PackageIsTrusted(FrmConversie& form, const std::string& chosen, const std::string& chosen_name) {
  RunContext& ctx = form.ctx;
  if (!ctx.packages) return true;
  const std::string keys_path = ctx.folders.ProgramDir + kTrustedKeysName;
  const bool has_keys = ctx.fs.FileExists(keys_path);
  const std::string keys = has_keys ? ctx.fs.ReadBytes(keys_path) : std::string();
  const PackageCheck check = ctx.packages->Check(chosen, has_keys ? &keys : nullptr);

  switch (check.verdict) {
    case PackageVerdict::Intact:
      form.LogText("Updatefile " + chosen + " niet op een handtekening gecontroleerd: geen " + kTrustedKeysName +
                   " in de programmamap");
      return true;
    case PackageVerdict::Signed:
      form.LogText("Handtekening van updatefile " + chosen + " in orde (sleutel " + check.key_id + ")");
      return true;
    case PackageVerdict::Damaged:
      form.LogText("Updatefile " + chosen + " geweigerd: beschadigd of onvolledig (" + check.detail + ")");
      Refuse(form, "Het updatefile [" + chosen_name + "] is beschadigd of onvolledig." + kCrLf + kCrLf +
                       "Download de update opnieuw en kies dan het nieuwe bestand.");
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
