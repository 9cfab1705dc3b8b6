// The roll-back button "Terugdraaien Update" of the welcome page.
#include "files/lock_file.h"
#include "files/recover_update.h"
#include "wizard/frm_conversie.h"

namespace vmu {

void FrmConversie::cmdTurnBack_Click() {
  const std::string title = "Terugdraaien update";
  if (ctx.fs.FileExists(DatabaseLockFile(ctx.folders.DataDir))) {
    MessageBoxSpec open;
    open.title = title;
    open.icon = Icon::Information;
    open.text = "Velmora staat nog open, sluit deze af en start " + view.Text(Control::cmdTurnBack) + " opnieuw";
    view.ShowMessage(open);
    return;
  }

  MessageBoxSpec ask;
  ask.title = title;
  ask.buttons = Buttons::YesNo;
  ask.default_button = 2;
  ask.icon = Icon::Exclamation;
  ask.text = std::string("Let op, met deze functie draait u de update weer terug. ") + kCrLf + kCrLf +
             "Doe dit wanneer u met de nieuwe versie niet goed kunt werken" + kCrLf + kCrLf +
             "U kunt op een later moment de update weer uitvoeren." + kCrLf + kCrLf + "Doorgaan?";
  if (view.ShowMessage(ask) != Answer::Yes) return;
  ask.icon = Icon::None;
  ask.text = "De bestanden worden teruggezet naar " + ctx.folders.ProgramDir + kCrLf + kCrLf + "Doorgaan?";
  if (view.ShowMessage(ask) != Answer::Yes) return;

  // An update that broke off is undone first; while it cannot be, the
  // backups belong to it and no roll-back may touch them.
  if (const Recovery recovery = RecoverInterruptedUpdate(ctx, view); recovery != Recovery::NothingPending) {
    if (recovery == Recovery::Failed) {
      MessageBoxSpec refused;
      refused.title = title;
      refused.icon = Icon::Exclamation;
      refused.text = UnfinishedUpdateText(ctx);
      view.ShowMessage(refused);
    }
    return;
  }
  const bool restored = fTurnBack(true);

  MessageBoxSpec report;
  report.title = "Terugdraaien Update";
  report.buttons = Buttons::YesNo;
  report.default_button = 1;
  report.icon = Icon::Information;
  report.text = restored ? std::string("De bestanden zijn succesvol teruggezet") + kCrLf + kCrLf +
                               "U kunt weer verder gaan met de vorige versie van Velmora" + kCrLf + kCrLf +
                               "Wilt u stoppen met het updateprogramma?"
                         : std::string("De bestanden zijn niet succesvol teruggezet") + kCrLf + kCrLf +
                               "Wilt u stoppen met het updateprogramma?";
  // Yes ends at once: the close question and the clean-up do not run.
  if (view.ShowMessage(report) == Answer::Yes) view.EndProgram();
}

}  // namespace vmu
