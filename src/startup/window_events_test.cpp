// The folder windows reached through the dispatcher.
#include "startup/window_events.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "startup/directories_window.h"
#include "testing/wizard_fixture.h"
#include "views/headless/transcript.h"

namespace vmu {
namespace {

struct Window : testing::WizardFixture {
  Window() : WizardFixture(HostInfo{"anna", "VM_Update", "Z:\\opt\\vmu"}) { MakeForm(); }
};

TEST(WindowEvents, FolderWindowsAndTheWizardsOwnButtons) {
  Window w;
  EXPECT_TRUE(DoubleClickAnyControl(*w.form, Control::Image1));
  EXPECT_EQ(w.Out(),
            "info title \"Informatie over programma directory van VM_Update\" label \"Deze applicatie "
            "draait in:\" text \"Z:\\\\opt\\\\vmu\"\n");

  w.transcript.str("");
  EXPECT_TRUE(ClickAnyControl(*w.form, Control::cmdOpenDirectories));
  EXPECT_TRUE(w.view.DirectoriesShown());
  ClickDirectoriesCommand1(*w.form);
  ClickDirectoriesCommand1(*w.form);
  // Rebuilt from scratch on every press, never appended to.
  const std::string list = SpecialFolderList(w.ctx);
  const std::string filled = "directories text " + Quote(list) + "\n";
  EXPECT_EQ(w.Out(), "directories show\n" + filled + filled);
  // "n: path" for 0 to 80, no path for a virtual folder.
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 81);
  EXPECT_EQ(list.rfind("0: C:\\users\\anna\\Desktop\r\n1: \r\n", 0), 0u);
  EXPECT_NE(list.find("\r\n38: C:\\Program Files\r\n"), std::string::npos);
  EXPECT_EQ(list.substr(list.size() - 8), "\r\n80: \r\n");

  // Everything else is the wizard's.
  w.transcript.str("");
  EXPECT_TRUE(ClickAnyControl(*w.form, Control::CmdWizard_1));
  EXPECT_NE(w.Out().find("set Label2 text \"Stap 1 van 3\"\n"), std::string::npos);
  EXPECT_FALSE(ClickAnyControl(*w.form, Control::Label2));
  EXPECT_FALSE(DoubleClickAnyControl(*w.form, Control::Label1_1));
}

}  // namespace
}  // namespace vmu
