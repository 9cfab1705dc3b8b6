// A wizard on a small installation (program folder C:\prog\, data folder
// C:\data\) for the tests of the package, update and roll-back steps.
#pragma once

#include <sys/stat.h>

#include <memory>
#include <sstream>
#include <string>

#include "app/script/script_view.h"
#include "testing/fake_processes.h"
#include "testing/test_prefix.h"
#include "wizard/frm_conversie.h"

namespace vmu::testing {

struct InstallWizard {
  InstallWizard() : ctx(prefix.fs(), processes), view(transcript) {
    ctx.host.user_name = "anna";
    ctx.folders.ProgramDir = "C:\\prog\\";
    ctx.folders.DataDir = "C:\\data\\";
    ctx.folders.UpdateIniPath = "C:\\data\\Update.ini";
    ctx.folders.SetupIniName = "installatieV2.ini";
    prefix.Write("C:\\prog\\VM.EXE", "oud exe");
    prefix.Write("C:\\data\\Factuur.ini", "oud factuur");
    prefix.Write("C:\\data\\VM.ini", "[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n");
    form = std::make_unique<FrmConversie>(ctx, view);
    form->Load();
  }

  // What the unpacker would have left in the update folder.
  void Unpacked(const std::string& manifest, const std::string& list = "") {
    if (!manifest.empty()) prefix.Write("C:\\data\\Update\\installatieV2.ini", manifest);
    if (!list.empty()) prefix.Write("C:\\data\\Update\\FileList.VML", list);
  }
  void Step3() {
    form->state.UpdateDir = "C:\\data\\Update\\";
    form->state.Step = 2;
    form->CmdWizard_Click(1);
  }

  std::string Log() const { return prefix.Read("C:\\data\\ConversieLog.TXT"); }
  std::string Read(const std::string& path) const { return prefix.Read(path); }
  std::string Label() { return view.Inspect(Control::Label1_1).text; }
  bool Shown(const std::string& line) const { return transcript.str().find(line + "\n") != std::string::npos; }

  TestPrefix prefix;
  FakeProcesses processes;
  RunContext ctx;
  std::ostringstream transcript;
  ScriptView view;
  std::unique_ptr<FrmConversie> form;
};

// The manifest of a package that fits the installation above (10302 / 5).
inline const std::string kFittingManifest = "[Main]\r\nVer=10302\r\nVerUpdate=6\r\nVerLow=10302\r\nVerLowUpdate=5\r\n";

// The text the result page adds after a failure's own text.
inline const std::string kNotDone =
    "\r\n\r\nDe update is niet uitgevoerd om bovenstaande reden. Overleg de omschrijving met uw leverancier als "
    "de oorzaak niet duidelijk is\r\n\r\nUw huidige versie is zonder probleem te gebruiken. \r\n\r\n";

}  // namespace vmu::testing
