// The real window, driven offscreen by the same script as the headless view,
// must show what the logic says.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "testing/sealed_package.h"
#include "testing/temp_dir.h"
#include "tools/demo/demo_installation.h"

namespace vmu {
namespace {

std::string ProgramBeside(const std::string& name) {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

std::string RunCommand(const std::string& command, int* status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  *status = pclose(pipe);
  return out;
}

std::vector<std::string> StateLines(const std::string& transcript) {
  std::vector<std::string> lines;
  std::istringstream in(transcript);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("state ", 0) == 0) lines.push_back(line);
  return lines;
}

TEST(OffscreenWindow, ShowsWhatTheLogicSaysAfterStartUp) {
  testing::TempDir dir;
  DemoPaths demo = MakeDemoInstallation(dir.path(), "anna");
  // A package that unpacks nothing is enough to reach the second page.
  const std::string package = demo.prefix + "/drive_c/pakket/leeg.VMU";
  testing::WriteHostFile(package, testing::SealedPackage("#!/bin/sh\nexit 0\n"));
  testing::WriteHostFile(dir.Sub("session.txt"), "prefix " + demo.prefix +
                                                     "\nstart\ndump\nfile C:\\pakket\\leeg.VMU\npress next\n"
                                                     "wait unpack\ndump\n");
  std::string script = ProgramBeside("vmupdate-script");
  std::string env = "USER=anna ";
  int headless_status = 0, gui_status = 0;
  std::string headless = RunCommand(env + script + " " + dir.Sub("session.txt"), &headless_status);
  // A fresh installation for the second run: start-up migrates files.
  std::filesystem::remove_all(demo.prefix);
  MakeDemoInstallation(dir.path(), "anna");
  testing::WriteHostFile(package, testing::SealedPackage("#!/bin/sh\nexit 0\n"));
  std::string gui =
      RunCommand(env + script + " --gui --shots " + dir.Sub("shots") + " " + dir.Sub("session.txt"), &gui_status);
  ASSERT_EQ(headless_status, 0) << headless;
  ASSERT_EQ(gui_status, 0) << gui;

  std::vector<std::string> expected = StateLines(headless);
  ASSERT_EQ(expected.size(), 34u) << headless;
  EXPECT_EQ(StateLines(gui), expected) << gui;
  EXPECT_NE(gui.find("state Label2 text \"Stap 2 van 3\" enabled true visible true bold true color black"),
            std::string::npos);
  EXPECT_EQ(QImage(QString::fromStdString(dir.Sub("shots/02-start.png"))).size(), QSize(640, 460));
  EXPECT_TRUE(std::filesystem::exists(dir.Sub("shots/05-press-next.png")));
  // At twice the scale the window and its picture fit a small screen:
  // qt_wizard_window_test's, on the same window and picture code.
}

TEST(OffscreenWindow, PicturesTheFolderWindowsBesideTheWizard) {
  testing::TempDir dir;
  DemoPaths demo = MakeDemoInstallation(dir.path(), "anna");
  testing::WriteHostFile(dir.Sub("session.txt"),
                         "prefix " + demo.prefix + "\nstart\ndblclick image\npress directories\npress command1\n");
  int status = 0;
  std::string gui = RunCommand("USER=anna " + ProgramBeside("vmupdate-script") + " --gui --maintenance --shots " +
                                   dir.Sub("shots") + " " + dir.Sub("session.txt"),
                               &status);
  ASSERT_EQ(status, 0) << gui;
  EXPECT_NE(gui.find("\ninfo title \"Informatie over programma directory van VM_Update\" label "), std::string::npos)
      << gui;

  // The information window is pictured once, after the double click that
  // opened it; the special-folder window stays open, so it is in every
  // picture from then on.
  EXPECT_EQ(QImage(QString::fromStdString(dir.Sub("shots/03-dblclick-image-info.png"))).size(), QSize(546, 203));
  EXPECT_FALSE(std::filesystem::exists(dir.Sub("shots/04-press-directories-info.png")));
  EXPECT_FALSE(std::filesystem::exists(dir.Sub("shots/03-dblclick-image-directories.png")));
  EXPECT_EQ(QImage(QString::fromStdString(dir.Sub("shots/04-press-directories-directories.png"))).size(),
            QSize(692, 567));
  const auto before = std::filesystem::file_size(dir.Sub("shots/04-press-directories-directories.png"));
  const auto after = std::filesystem::file_size(dir.Sub("shots/05-press-command1-directories.png"));
  EXPECT_GT(after, before) << "81 lines of folders against the one word of the design";
}

}  // namespace
}  // namespace vmu
