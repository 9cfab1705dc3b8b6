#include "startup/main_module.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "files/test_doubles.h"
#include "platform/program_end.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

// Keeps the controls' state and the messages; the file dialog answers from a queue.
class RecordingView : public WizardView {
 public:
  Answer ShowMessage(const MessageBoxSpec& spec) override { return dialogs.ShowMessage(spec); }
  std::string ShowOpenFile(const FileDialogSpec& spec) override { return dialogs.ShowOpenFile(spec); }
  void SetText(Control c, const std::string& text) override { controls[c].text = text; }
  void SetEnabled(Control c, bool on) override { controls[c].enabled = on; }
  void SetVisible(Control c, bool on) override { controls[c].visible = on; }
  void SetBold(Control c, bool on) override { controls[c].bold = on; }
  void SetColor(Control c, TextColor color) override { controls[c].color = color; }
  void SetProgressMax(int max) override { controls[Control::Pbr].max = max; }
  void SetProgressValue(int value) override { controls[Control::Pbr].value = value; }
  void Redraw() override {}
  void ShowWindow() override { shown = true; }
  void CloseWindow() override {}
  [[noreturn]] void EndProgram() override { throw ProgramEnded{}; }
  ControlState Inspect(Control c) override { return controls[c]; }

  testing::ScriptedDialogs dialogs;
  std::map<Control, ControlState> controls;
  bool shown = false;
};

struct MainFixture : ::testing::Test {
  MainFixture() : ctx(prefix.fs(), processes), form(ctx, view) {}
  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const MessageBoxSpec& m : view.dialogs.messages) texts.push_back(m.text);
    return texts;
  }

  testing::TestPrefix prefix;
  testing::NoProcesses processes;
  RunContext ctx;
  RecordingView view;
  FrmConversie form;
};

TEST_F(MainFixture, InstallationUnderProgramFilesIsFoundWithoutAsking) {
  prefix.Write("C:\\Program Files\\Velmora\\VM.EXE", "exe");
  prefix.Write("C:\\Program Files\\Velmora\\VM_DBv01.mdb", "db");
  prefix.Write("C:\\Program Files\\Velmora\\RptDB97.mdb", "rpt");
  Main(form);
  EXPECT_TRUE(view.dialogs.messages.empty());
  EXPECT_TRUE(view.dialogs.dialogs.empty());
  const FolderSettings& f = ctx.folders;
  EXPECT_EQ(f.ProgramDir, "C:\\Program Files\\velmora\\");
  EXPECT_EQ(f.DataDir, "C:\\users\\user\\AppData\\Roaming\\velmora\\");
  EXPECT_EQ(f.UpdateIniPath, f.DataDir + "Update.ini");
  EXPECT_EQ(f.SetupIniName, "installatieV2.ini");
  EXPECT_EQ(view.Text(Control::Label1_2), f.ProgramDir + "\r\n" + f.DataDir);
  EXPECT_EQ(view.Text(Control::Label1_3), "Programma folder: \r\nData folder: ");
  EXPECT_EQ(view.Text(Control::Label2), "Stap 1 van 3");
  EXPECT_TRUE(view.shown);
}

TEST_F(MainFixture, CancelledDialogEndsTheProgram) {
  view.dialogs.files = {"cancel"};
  EXPECT_THROW(Main(form), ProgramEnded);
  EXPECT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages().back(), "U heeft geen keuze gemaakt, het update programma wordt afgesloten");
  ASSERT_EQ(view.dialogs.dialogs.size(), 1u);
  EXPECT_EQ(view.dialogs.dialogs[0].title, "Zoek de directory waar VM.EXE in staat");
  EXPECT_EQ(view.dialogs.dialogs[0].filter, "Velmora programma (VM.EXE)|VM.EXE");
  EXPECT_EQ(view.dialogs.dialogs[0].folder, "C:\\Program Files");
  EXPECT_FALSE(view.shown);
}

TEST_F(MainFixture, MissingDatabaseAndDamagedListEndTheProgram) {
  prefix.Write("C:\\Apps\\vm\\VM.EXE", "exe");
  view.dialogs.files = {"C:\\Apps\\vm\\VM.EXE"};
  EXPECT_THROW(Main(form), ProgramEnded);
  EXPECT_EQ(Messages().back(),
            "Velmora updater kan VM_DBv01.mdb niet vinden en wordt nu afgesloten. Neem contact op "
            "met uw leverancier");

  prefix.Write("C:\\Apps\\vm\\VM_DBv01.mdb", "db");
  prefix.Write("C:\\Apps\\vm\\RptDB97.mdb", "rpt");
  prefix.Write("C:\\Apps\\vm\\VMbackuptool.ini", "[Basic settings]\r\nAantalFiles=veel\r\n");
  view.dialogs.files = {"C:\\Apps\\vm\\VM.EXE"};
  EXPECT_THROW(Main(form), ProgramEnded);
  EXPECT_EQ(Messages().back(), "Type mismatch\r\nDeze functie wordt nu afgesloten");
  EXPECT_FALSE(view.shown);
}

}  // namespace
}  // namespace vmu
