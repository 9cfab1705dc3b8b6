#include "wizard/package_manifest.h"

#include "files/utility.h"
#include "package/manifest_keys.h"
#include "package/package_files.h"
#include "wizard/frm_conversie.h"

namespace vmu {

using package::kManifestName;
using package::kOldManifestName;

bool FindManifest(FrmConversie& form) {
  FolderSettings& folders = form.ctx.folders;
  WizardState& state = form.state;
  // A package of the older kind chosen earlier in this run must not hide the
  // manifest of the one chosen now.
  folders.SetupIniName = kManifestName;
  if (form.ctx.fs.FileExists(state.UpdateDir + folders.SetupIniName)) return true;
  if (form.ctx.fs.FileExists(state.UpdateDir + kOldManifestName)) {
    folders.SetupIniName = kOldManifestName;
    return true;
  }
  state.ResultText = "Het updateprogramma kan het bestand " + folders.SetupIniName + " of " + kOldManifestName +
                     " niet vinden. Misschien heeft u een oud update bestand geopend, kies dan 'Vorig' om "
                     "een ander bestand te kiezen. Betreft het wel het juist bestand, geef dit door aan de "
                     "leverancier." +
                     kCrLf + kCrLf;
  form.LogText(state.UpdateDir + folders.SetupIniName + " niet gevonden");
  state.FailureFlag = true;
  return false;
}

void ReadPackageSettings(FrmConversie& form) {
  RunContext& ctx = form.ctx;
  WizardState& s = form.state;
  const std::string vm_ini = "VM.ini";
  s.InstalledVersion = ToInt32(ReadIni(ctx, "Main", "Version", "0", vm_ini));
  s.InstalledUpdate = ToInt32(ReadIni(ctx, "Main", "VersionUpdate", "0", vm_ini));

  const std::string manifest = s.UpdateDir + ctx.folders.SetupIniName;
  auto read = [&](const package::ManifestKey& setting) {
    return ReadIni(ctx, package::kManifestSection, setting.name, setting.default_value, manifest);
  };
  namespace key = package::key;
  s.Ver = ToInt32(read(key::kVer));
  s.VerUpdate = ToInt32(read(key::kVerUpdate));
  s.VerLow = ToInt32(read(key::kVerLow));
  s.VerLowUpdate = ToInt32(read(key::kVerLowUpdate));
  s.CloseFlag = static_cast<uint8_t>(ToByte(read(key::kClose)));
  s.ConvertFlag = static_cast<uint8_t>(ToByte(read(key::kConvert)));
  s.App = read(key::kApp);
  s.NewUpdate = static_cast<uint8_t>(ToByte(read(key::kNewUpdate)));
  s.ConvOldfile = ctx.folders.DataDir + read(key::kConvOldfile);
  s.ConvNewfile = s.UpdateDir + read(key::kConvNewfile);
  s.ConvDatabase = read(key::kConvDatabase);
  s.ConvDatabasePath = s.UpdateDir + s.ConvDatabase;
  s.ConvFromVer = read(key::kConvFromVer);
  s.ConvToVer = read(key::kConvToVer);
}

}  // namespace vmu
