#include "wizard/unpacked_check.h"

#include <vector>

#include "platform/ascii.h"
#include "wizard/frm_conversie.h"
#include "wizard/package_trust.h"

namespace vmu {

namespace {

// What differs in the update folder; empty when nothing does. The files are
// hashed together, but the first difference in the folder's order is named.
std::string Difference(FrmConversie& form) {
  RunContext& ctx = form.ctx;
  const WizardState& s = form.state;
  form.state.UnpackedIdentity.clear();
  if (!s.UnpackedKnown) return s.UpdateDir + " is niet door de wizard uitgepakt";
  struct Listed {
    std::string name, path;
    const package::UnpackedFile* reported;  // null: not in the report
    bool same_size;
  };
  std::vector<Listed> listed;
  std::vector<std::string> to_hash;
  for (const std::string& name : ctx.fs.ListFiles(s.UpdateDir)) {
    if (AsciiUpper(name) == AsciiUpper(kUnpackerName)) continue;
    Listed file{name, s.UpdateDir + name, nullptr, false};
    if (const auto it = s.Unpacked.find(AsciiUpper(name)); it != s.Unpacked.end()) {
      file.reported = &it->second;
      file.same_size = ctx.fs.FileSize(file.path) == it->second.size;
      if (file.same_size) to_hash.push_back(file.path);
    }
    listed.push_back(file);
  }
  const std::vector<PackageChecker::FileHash> hashes = ctx.packages->HashFiles(to_hash);
  std::size_t hashed = 0;
  for (const Listed& file : listed) {
    if (!file.reported) return file.path + " hoort niet bij het updatefile";
    if (!file.same_size || hashes[hashed].sha256 != file.reported->sha256)
      return file.path + " is gewijzigd na het uitpakken";
    form.state.UnpackedIdentity[AsciiUpper(file.name)] = hashes[hashed++].identity;
  }
  if (listed.size() != s.Unpacked.size()) return "in " + s.UpdateDir + " ontbreken bestanden van het updatefile";
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
