#include "wizard/package_manifest.h"

#include "files/utility.h"
#include "wizard/frm_conversie.h"

namespace vmu {

namespace {

constexpr const char* kManifest = "installatieV2.ini";
constexpr const char* kOldManifest = "installatie.ini";

}  // namespace

bool FindManifest(FrmConversie& form) {
  FolderSettings& folders = form.ctx.folders;
  WizardState& state = form.state;
  // A package of the older kind chosen earlier in this run must not hide the
  // manifest of the one chosen now.
  folders.SetupIniName = kManifest;
  if (form.ctx.fs.FileExists(state.UpdateDir + folders.SetupIniName)) return true;
  if (form.ctx.fs.FileExists(state.UpdateDir + kOldManifest)) {
    folders.SetupIniName = kOldManifest;
    return true;
  }
  state.ResultText = "Het updateprogramma kan het bestand " + folders.SetupIniName + " of " + kOldManifest +
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
  auto read = [&](const char* key, const char* default_value) {
    return ReadIni(ctx, "Main", key, default_value, manifest);
  };
  s.Ver = ToInt32(read("Ver", "0"));
  s.VerUpdate = ToInt32(read("VerUpdate", "0"));
  s.VerLow = ToInt32(read("VerLow", "999999"));
  s.VerLowUpdate = ToInt32(read("VerLowUpdate", "9999"));
  s.CloseFlag = static_cast<uint8_t>(ToByte(read("Close", "1")));
  s.ConvertFlag = static_cast<uint8_t>(ToByte(read("Convert", "0")));
  s.App = read("App", "VM");
  s.NewUpdate = static_cast<uint8_t>(ToByte(read("NewUpdate", "0")));
  s.ConvOldfile = ctx.folders.DataDir + read("ConvOldfile", "");
  s.ConvNewfile = s.UpdateDir + read("ConvNewfile", "");
  s.ConvDatabase = read("ConvDatabase", "");
  s.ConvDatabasePath = s.UpdateDir + s.ConvDatabase;
  s.ConvFromVer = read("ConvFromVer", "");
  s.ConvToVer = read("ConvToVer", "");
}

}  // namespace vmu
