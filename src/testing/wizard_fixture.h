// The wizard window as the logic's tests use it: a temporary prefix, a
// process table that starts nothing, and the headless view recording every
// operation as a transcript line.
#pragma once

#include <memory>
#include <sstream>
#include <string>

#include "testing/fake_processes.h"
#include "testing/test_prefix.h"
#include "views/headless/script_view.h"
#include "wizard/frm_conversie.h"

namespace vmu::testing {

class WizardFixture {
  TestPrefix own_prefix_;  // first: the members below live in it

 public:
  explicit WizardFixture(HostInfo host = {}) : WizardFixture(own_prefix_, std::move(host)) {}
  // On a prefix that other test support has laid out.
  explicit WizardFixture(TestPrefix& shared, HostInfo host = {})
      : prefix(shared), ctx(prefix.fs(), processes, std::move(host)), view(transcript) {}

  // The form, made once the test has laid out its folders and files.
  FrmConversie& MakeForm(StepWork steps = DefaultSteps()) {
    form = std::make_unique<FrmConversie>(ctx, view, std::move(steps));
    return *form;
  }

  std::string Out() const { return transcript.str(); }
  bool Printed(const std::string& line) const { return Out().find(line + "\n") != std::string::npos; }
  std::string Text(Control c) { return view.Inspect(c).text; }
  std::string Log() const { return prefix.Read(ctx.folders.DataDir + "ConversieLog.TXT"); }

  TestPrefix& prefix;
  FakeProcesses processes;
  RunContext ctx;
  std::ostringstream transcript;
  ScriptView view;
  std::unique_ptr<FrmConversie> form;
};

}  // namespace vmu::testing
