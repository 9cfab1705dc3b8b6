#include "wizard/frm_conversie.h"

#include "files/conversion_log.h"
#include "files/delete_files.h"
#include "files/trusted_paths.h"
#include "platform/error.h"
#include "wizard/feed_button.h"

namespace vmu {

namespace {

constexpr const char* kMakerSite = "www.velmora.nl";

std::string StepText(int step) { return "Stap " + std::to_string(step) + " van " + std::to_string(3); }

}  // namespace

FrmConversie::FrmConversie(RunContext& context, WizardView& wizard_view, StepWork steps)
    : ctx(context), view(wizard_view), steps_(std::move(steps)) {}

void FrmConversie::Load() {
  view.SetText(Control::Label4, std::string("Velmora Update Programma") + kCrLf + "Versie " +
                                    std::to_string(VMU_VERSION_MAJOR) + "." + std::to_string(VMU_VERSION_MINOR) + "." +
                                    std::to_string(VMU_VERSION_PATCH));
  view.SetText(Control::Label1_0, "Velmora Update");
  view.SetText(Control::Label3, "");
  state.Step = 0;
  CmdWizard_Click(1);
}

void FrmConversie::CmdWizard_Click(int index) {
  // A press may run inside another one (step 2 goes back to step 1 itself);
  // each has its own action text and installing switch.
  PressState outer = press;
  press = PressState{};
  try {
    view.SetVisible(Control::CancelButton, true);
    view.SetText(Control::CmdWizard_1, "Volgende >>");
    if (index == 0) state.Step = static_cast<int16_t>(state.Step - 1);
    if (index == 1) state.Step = static_cast<int16_t>(state.Step + 1);
    view.SetText(Control::Label2, StepText(state.Step));
    view.SetEnabled(Control::CmdWizard_0, true);
    view.SetEnabled(Control::CmdWizard_1, true);
    view.SetColor(Control::Label1_1, TextColor::Black);
    view.SetBold(Control::Label1_1, false);
    RunStepWork();
  } catch (const VbError& e) {
    HandlePressError(e.number(), e.description());
  }
  press = outer;
}

void FrmConversie::RunStepWork() {
  switch (state.Step) {
    case 1: WelcomePage(); break;
    case 2:
      if (steps_.package_step) steps_.package_step(*this);
      break;
    case 3:
      if (steps_.update_step) steps_.update_step(*this);
      break;
    case 4: view.EndProgram();
    default: break;
  }
}

void FrmConversie::WelcomePage() {
  view.SetEnabled(Control::CmdWizard_0, false);
  view.SetEnabled(Control::cmdTurnBack, true);
  view.SetText(Control::Label1_1,
               std::string("Met deze functie installeert u de Velmora update op uw computer. ") + kCrLf + kCrLf +
                   "Deze update is u gestuurd door Dravelt/Velmora of heeft u gedownload vanaf de site " + kMakerSite +
                   "." + kCrLf +
                   "U wordt stap voor stap door het installatieprogramma geleid door op de knop "
                   "'Volgende' te drukken" +
                   kCrLf + kCrLf +
                   "U kunt een andere programma map kiezen als u meerdere versies van Velmora op uw "
                   "systeem heeft staan (bv een testsysteem). Voor elke versie doorloopt u de stappen "
                   "in dit update programma.");
  view.SetEnabled(Control::cmdOpenLocation, true);
  ShowFeedOnWelcomePage(*this);
}

void FrmConversie::LogText(const std::string& text) { vmu::LogText(ctx, text); }

void FrmConversie::LogFailure(int number, const std::string& description) {
  // The handler must reach the result page even when the log itself is what
  // failed (a read-only data folder), so a log failure here is passed over.
  LogTextIfPossible(ctx, "FOUT " + std::to_string(number) + " - " + description + ". Stap " +
                             std::to_string(state.Step) + kCrLf + press.CurrentAction);
}

void FrmConversie::ResumeOnError5(const std::function<void()>& action) {
  try {
    action();
  } catch (const VbError& e) {
    if (e.number() != kInvalidArgument) throw;
    LogFailure(e.number(), e.description());
    LogTextIfPossible(ctx, "Resume Next bij fout 5");
  }
}

void FrmConversie::HandlePressError(int number, const std::string& description) {
  LogFailure(number, description);
  if (number == kInvalidArgument) {
    // Only the statements a step runs through ResumeOnError5 can go on; an
    // error 5 from anywhere else ends the press quietly, as it is logged.
    LogTextIfPossible(ctx, "Resume Next bij fout 5");
    return;
  }
  state.FailureFlag = true;
  if (press.Installing && steps_.automatic_restore) {
    steps_.automatic_restore(*this);
  } else {
    state.ResultText = "Er is een fout ontstaan met volgende beschrijving: " + std::to_string(number) + " - " +
                       description + "De update heeft nog niet plaats gevonden, u kunt wel verder werken met Velmora";
  }
  ShowResultPage();
}

void FrmConversie::CancelButton_Click() {
  if (state.FailureFlag) {
    Close(CloseMode::Code);
    return;
  }
  MessageBoxSpec ask;
  ask.text = std::string("U verlaat hiermee het update programma") + kCrLf + kCrLf + "Doorgaan?";
  ask.buttons = Buttons::YesNo;
  if (view.ShowMessage(ask) == Answer::Yes) Close(CloseMode::Code);
}

bool FrmConversie::QueryUnload(CloseMode mode) {
  if (mode == CloseMode::Code || state.FailureFlag) return false;
  MessageBoxSpec ask;
  ask.text = std::string("U verlaat hiermee het update programma") + kCrLf + kCrLf + "Doorgaan?";
  ask.buttons = Buttons::YesNo;
  return view.ShowMessage(ask) != Answer::Yes;
}

void FrmConversie::Unload() {
  const std::string folder = ctx.folders.DataDir + "Update\\";
  try {
    RefuseLink(ctx.fs, folder);
    if (!ctx.fs.ListFiles(folder).empty()) DeleteFiles(ctx.fs, folder + "*.*");
  } catch (const VbError&) {
    LogTextIfPossible(ctx, "Fout bij het leegmaken van " + folder + "*.*");
  }
}

void FrmConversie::Close(CloseMode mode) {
  if (QueryUnload(mode)) return;
  Unload();
  view.CloseWindow();
  view.EndProgram();
}

void FrmConversie::CmdStartApp_Click() {
  // Quoted: a folder with a blank must not start a file named like its first word.
  state.TaskId = ctx.processes.Start("\"" + ctx.folders.ProgramDir + "vm.exe\"", WindowStyle::Maximized);
  ctx.processes.Activate(state.TaskId);
  view.EndProgram();
}

}  // namespace vmu
