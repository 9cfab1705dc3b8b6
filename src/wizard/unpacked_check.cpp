#include "wizard/unpacked_check.h"

#include "platform/ascii.h"
#include "wizard/frm_conversie.h"
#include "wizard/package_trust.h"

namespace vmu {

namespace {

// What differs in the update folder; empty when nothing does.
std::string Difference(FrmConversie& form) {
  RunContext& ctx = form.ctx;
  const WizardState& s = form.state;
  if (!s.UnpackedKnown) return s.UpdateDir + " is niet door de wizard uitgepakt";
  std::size_t seen = 0;
  for (const std::string& name : ctx.fs.ListFiles(s.UpdateDir)) {
    const std::string path = s.UpdateDir + name;
    if (AsciiUpper(name) == AsciiUpper(kUnpackerName)) continue;
    const auto it = s.Unpacked.find(AsciiUpper(name));
    if (it == s.Unpacked.end()) return path + " hoort niet bij het updatefile";
    if (ctx.fs.FileSize(path) != it->second.size || ctx.packages->Sha256OfFile(path) != it->second.sha256)
      return path + " is gewijzigd na het uitpakken";
    ++seen;
  }
  if (seen != s.Unpacked.size()) return "in " + s.UpdateDir + " ontbreken bestanden van het updatefile";
  return "";
}

}  // namespace

bool UnpackedFilesIntact(FrmConversie& form) {
  if (!form.ctx.packages) return true;
  const std::string difference = Difference(form);
  if (difference.empty()) return true;
  WizardState& s = form.state;
  form.LogText("Updatefile " + s.PackageName + " geweigerd: " + difference);
  s.FailureFlag = true;
  s.ResultText = DamagedPackageText(s.PackageName);
  return false;
}

}  // namespace vmu
