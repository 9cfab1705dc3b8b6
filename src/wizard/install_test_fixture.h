// A wizard on a small installation (program folder C:\prog\, data folder
// C:\data\) for the tests of the package, update and roll-back steps, and
// one on the conversion's files for the conversion steps.
#pragma once

#include <string>

#include "testing/conversion_files.h"
#include "testing/wizard_fixture.h"

namespace vmu::testing {

struct InstallWizard : WizardFixture {
  InstallWizard() : WizardFixture(HostInfo{"anna"}) {
    ctx.folders.ProgramDir = "C:\\prog\\";
    ctx.folders.DataDir = "C:\\data\\";
    ctx.folders.UpdateIniPath = "C:\\data\\Update.ini";
    ctx.folders.SetupIniName = "installatieV2.ini";
    prefix.Write("C:\\prog\\VM.EXE", "oud exe");
    prefix.Write("C:\\data\\Factuur.ini", "oud factuur");
    prefix.Write("C:\\data\\VM.ini", "[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n");
    MakeForm().Load();
  }

  // What the unpacker would have left in the update folder, with the new VM.EXE.
  void Unpacked(const std::string& manifest, const std::string& list = "") {
    prefix.Write("C:\\data\\Update\\VM.EXE", "nieuw exe");
    if (!manifest.empty()) prefix.Write("C:\\data\\Update\\installatieV2.ini", manifest);
    if (!list.empty()) prefix.Write("C:\\data\\Update\\FileList.VML", list);
  }
  void Step3() {
    form->state.UpdateDir = "C:\\data\\Update\\";
    form->state.Step = 2;
    form->CmdWizard_Click(1);
  }

  std::string Label() { return Text(Control::Label1_1); }
};

// The manifest of a package that fits the installation above (10302 / 5).
inline const std::string kFittingManifest = "[Main]\r\nVer=10302\r\nVerUpdate=6\r\nVerLow=10302\r\nVerLowUpdate=5\r\n";

// The text the result page adds after a failure's own text.
inline const std::string kNotDone =
    "\r\n\r\nDe update is niet uitgevoerd om bovenstaande reden. Overleg de omschrijving met uw leverancier als "
    "de oorzaak niet duidelijk is\r\n\r\nUw huidige versie is zonder probleem te gebruiken. \r\n\r\n";

// The wizard on the conversion's files, its state as the package manifest
// left it; the test sets ctx.databases.
struct ConversionWizard : ConversionFiles, WizardFixture {
  using ConversionFiles::Log;
  using ConversionFiles::prefix;

  ConversionWizard() : WizardFixture(ConversionFiles::prefix) {
    ctx.folders.ProgramDir = "C:\\Program Files\\velmora\\";
    ctx.folders.DataDir = kDataDir;
    ctx.folders.UpdateIniPath = std::string(kDataDir) + "Update.ini";
    ctx.folders.SetupIniName = kManifestName;
    SetStandardConversion(MakeForm().state);
  }
};

}  // namespace vmu::testing
