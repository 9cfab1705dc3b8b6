// The folder windows reached through the dispatcher, and the special-folder list.
#include "startup/window_events.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/script/script_view.h"
#include "app/script/transcript.h"
#include "startup/directories_window.h"
#include "testing/fake_processes.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

struct Window {
  Window() : ctx(prefix.fs(), processes, HostInfo{"anna", "VM_Update", "Z:\\opt\\vmu"}), view(transcript) {
    form = std::make_unique<FrmConversie>(ctx, view);
  }
  std::string Lines() { return transcript.str(); }

  testing::TestPrefix prefix;
  testing::FakeProcesses processes;
  RunContext ctx;
  std::ostringstream transcript;
  ScriptView view;
  std::unique_ptr<FrmConversie> form;
};

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "text after the last line break";
  return lines;
}

TEST(SpecialFolderList, EightyOneLinesWithEmptyPathsForUnknownNumbers) {
  Window w;
  const std::vector<std::string> lines = SplitCrLf(SpecialFolderList(w.ctx));
  ASSERT_EQ(lines.size(), 81u);
  for (int n = 0; n <= 80; ++n) EXPECT_EQ(lines[n].rfind(std::to_string(n) + ": ", 0), 0u) << lines[n];
  EXPECT_EQ(lines[38], "38: C:\\Program Files");
  EXPECT_EQ(lines[5], "5: C:\\users\\anna\\Documents");
  EXPECT_EQ(lines[1], "1: ");   // a virtual folder: no path
  EXPECT_EQ(lines[80], "80: ");
}

TEST(WindowEvents, FolderWindowsAndTheWizardsOwnButtons) {
  Window w;
  EXPECT_TRUE(DoubleClickAnyControl(*w.form, Control::Image1));
  EXPECT_EQ(w.Lines(),
            "info title \"Informatie over programma directory van VM_Update\" label \"Deze applicatie "
            "draait in:\" text \"Z:\\\\opt\\\\vmu\"\n");

  w.transcript.str("");
  EXPECT_TRUE(ClickAnyControl(*w.form, Control::cmdOpenDirectories));
  EXPECT_TRUE(w.view.DirectoriesShown());
  ClickDirectoriesCommand1(*w.form);
  ClickDirectoriesCommand1(*w.form);
  // Rebuilt from scratch on every press, never appended to.
  const std::string filled = "directories text " + Quote(SpecialFolderList(w.ctx)) + "\n";
  EXPECT_EQ(w.Lines(), "directories show\n" + filled + filled);

  // Everything else is the wizard's.
  w.transcript.str("");
  EXPECT_TRUE(ClickAnyControl(*w.form, Control::CmdWizard_1));
  EXPECT_NE(w.Lines().find("set Label2 text \"Stap 1 van 3\"\n"), std::string::npos);
  EXPECT_FALSE(ClickAnyControl(*w.form, Control::Label2));
  EXPECT_FALSE(DoubleClickAnyControl(*w.form, Control::Label1_1));
}

}  // namespace
}  // namespace vmu
