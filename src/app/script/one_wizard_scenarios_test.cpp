// Two wizards on one installation, as separate programs: the second is turned
// away without touching anything; a wizard that was killed holds nothing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <map>

#include "app/script/scenario_test_kit.h"
#include "testing/temp_dir.h"
#include "tools/demo/demo_installation.h"
#include "tools/pack/pack_test_support.h"

namespace vmu {
namespace {

// A wizard that keeps running: the script is fed line by line while its
// transcript is read back.
class RunningWizard {
 public:
  RunningWizard() {
    int in[2], out[2];
    EXPECT_EQ(pipe2(in, O_CLOEXEC), 0);
    EXPECT_EQ(pipe2(out, O_CLOEXEC), 0);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      const std::string tool = scenario::Tool("vmupdate-script");
      execl(tool.c_str(), tool.c_str(), nullptr);
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    to_ = in[1];
    from_ = fdopen(out[0], "r");
  }
  ~RunningWizard() {
    Kill();
    close(to_);
    fclose(from_);
  }

  // Sends commands and reads the transcript up to a line that holds until.
  std::string Send(const std::string& commands, const std::string& until) {
    EXPECT_EQ(write(to_, commands.data(), commands.size()), static_cast<ssize_t>(commands.size()));
    std::string seen;
    char line[4096];
    while (fgets(line, sizeof line, from_)) {
      seen += line;
      if (std::string(line).find(until) != std::string::npos) break;
    }
    return seen;
  }
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
  int to_ = -1;
  FILE* from_ = nullptr;
};

scenario::Session RunToEnd(const std::string& script, const std::string& folder) {
  testing::WriteHostFile(folder + "/session.txt", script);
  const auto run = pack::testing::RunProgram({scenario::Tool("vmupdate-script"), folder + "/session.txt"});
  return {run.status, run.out};
}

const std::string kBusy =
    "msgbox title \"VM_Update\" text \"Er is al een update van Velmora bezig in de data folder "
    "C:\\\\users\\\\anna\\\\AppData\\\\Roaming\\\\velmora\\\\\\r\\n";

// The demo installation of anna and the start of a wizard on it.
struct OneWizardScenario : ::testing::Test {
  OneWizardScenario() { setenv("USER", "anna", 1); }
  vmu::testing::TempDir dir;
  const DemoPaths demo = MakeDemoInstallation(dir.path(), "anna");
  const std::string start = "prefix " + demo.prefix + "\nstart\n";
};

TEST_F(OneWizardScenario, ASecondWizardIsTurnedAwayAndAKilledOneHoldsNothing) {
  RunningWizard first;
  ASSERT_NE(first.Send(start, "window show").find("window show"), std::string::npos);
  const auto before = scenario::Files(demo.prefix + "/drive_c");

  // Its answer is queued: a refusal that asked nothing would leave it over (status 4).
  scenario::Session second = RunToEnd("answer ok\n" + start + "press next\n", dir.path());
  EXPECT_EQ(second.status, 0) << second.out;
  EXPECT_TRUE(
      second.Has(kBusy + "Het update programma wordt nu afgesloten\" buttons ok icon exclamation default 1 -> ok"))
      << second.out;
  EXPECT_TRUE(second.Has("end"));
  EXPECT_EQ(second.out.find("window show"), std::string::npos);
  EXPECT_EQ(scenario::Files(demo.prefix + "/drive_c"), before);

  // Killed, the first wizard leaves its lock file behind, and no lock.
  first.Kill();
  scenario::Session third = RunToEnd(start + "dump\n", dir.path());
  EXPECT_EQ(third.status, 0) << third.out;
  EXPECT_TRUE(third.Has("window show")) << third.out;
  EXPECT_EQ(third.out.find("msgbox"), std::string::npos) << third.out;
}

TEST_F(OneWizardScenario, AnotherInstallationInUseIsNotTakenOver) {
  // The first wizard moves on to the test installation, letting go of the other.
  RunningWizard first;
  first.Send(start, "window show");
  const std::string moved = first.Send("file C:\\Velmora-test\\VM.EXE\npress openlocation\ndump\n", "state Pbr");
  ASSERT_NE(moved.find("C:\\\\Velmora-test\\\\\\r\\nC:\\\\Velmora-test\\\\"), std::string::npos) << moved;

  scenario::Session second =
      RunToEnd(start + "file C:\\Velmora-test\\VM.EXE\nanswer ok\npress openlocation\ndump\n", dir.path());
  EXPECT_EQ(second.status, 0) << second.out;
  EXPECT_TRUE(second.Has("window show")) << second.out;
  EXPECT_TRUE(second.Has(
      "msgbox title \"VM_Update\" text \"Er is al een update van Velmora bezig in de data folder "
      "C:\\\\Velmora-test\\\\\\r\\nDe locatie blijft ongewijzigd\" buttons ok icon exclamation default 1 -> ok"))
      << second.out;
  // Still on its own installation.
  EXPECT_TRUE(second.Has(
      "state Label1(2) text \"C:\\\\Program Files\\\\velmora\\\\\\r\\nC:\\\\users\\\\anna\\\\AppData\\\\Roaming\\\\"
      "velmora\\\\\" enabled true visible true bold false color black"))
      << second.out;
}

}  // namespace
}  // namespace vmu
