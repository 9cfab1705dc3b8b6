// Breaks an installation and a roll-back at every single operation that
// changes the disk (an error once, a full disk from there on, a crash), then
// starts the wizard afresh on the same folders: the installation must be
// exactly as before or exactly as after, with nothing the user had lost.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <sstream>

#include "app/script/script_runner.h"
#include "testing/fault_file_system.h"
#include "testing/sealed_package.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

using testing::Fault;
using testing::FaultFileSystem;

const std::string kProg = "C:\\Program Files\\velmora\\";
const std::string kData = "C:\\users\\anna\\AppData\\Roaming\\velmora\\";

struct FileState {
  std::string bytes;
  int mode;  // -1: missing
  bool operator==(const FileState&) const = default;
};

// An installation whose update replaces a program file and a data file (each
// with its own mode) and adds one.
struct Sweep {
  Sweep() {
    Put(kProg + "VM.EXE", "#!/bin/sh\necho oud\n", 0750);
    p.Write(kData + "VM_DBv01.mdb", "db");
    p.Write(kData + "RptDB97.mdb", "rpt");
    p.Write(kData + "VM.ini", "[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n");
    Put(kData + "Factuur.ini", "oud factuur\r\n", 0640);
    const std::string source = p.prefix() + "/bron";
    for (const auto& [name, bytes] : std::map<std::string, std::string>{
             {"VM.EXE", "#!/bin/sh\necho nieuw\n"},
             {"Factuur.ini", "nieuw factuur\r\n"},
             {"Nieuw.dll", "dll"},
             {"installatieV2.ini", "[Main]\r\nVer=10302\r\nVerUpdate=6\r\nVerLow=10302\r\nVerLowUpdate=5\r\n"},
             {"FileList.VML", "\"VM.EXE\",1\r\n\"Nieuw.dll\",1\r\n\"Factuur.ini\",2\r\n"}})
      testing::WriteHostFile(source + "/" + name, bytes);
    p.Write("C:\\pakket\\upd.VMU",
            testing::SealedPackage("#!/bin/sh\ncp '" + source + "'/* '" + p.Host(kData + "Update") + "'/\nexit 0\n"));
    chmod(p.Host("C:\\pakket\\upd.VMU").c_str(), 0755);
  }
  void Put(const std::string& path, const std::string& bytes, int mode) {
    p.Write(path, bytes);
    chmod(p.Host(path).c_str(), mode);
  }
  FileState State(const std::string& path) {
    struct stat st;
    if (stat(p.Host(path).c_str(), &st) != 0) return {"", -1};
    return {p.Read(path), static_cast<int>(st.st_mode & 0777)};
  }
  std::map<std::string, FileState> Snapshot() {
    std::map<std::string, FileState> s;
    for (const std::string& path : {kProg + "VM.EXE", kProg + "Nieuw.dll", kData + "Factuur.ini", kData + "VM.ini",
                                    kData + "VM_DBv01.mdb", kData + "UpdateJournaal.txt"})
      s[path] = State(path);
    return s;
  }
  // One session; `fault` breaks its file system at operation `at` (0: never).
  int Run(const std::string& script, Fault fault = Fault::Once, int at = 0, const std::string& before_start = "") {
    setenv("USER", "anna", 1);
    std::istringstream in("prefix " + p.prefix() + "\n" + before_start + "start\n" + script);
    std::ostringstream out;
    std::unique_ptr<FaultFileSystem> faulty;
    ScriptOptions options;
    options.file_system = [&](FileSystem& host) {
      faulty = std::make_unique<FaultFileSystem>(host, fault, at);
      return faulty.get();
    };
    try {
      RunScript(in, out, nullptr, options);
    } catch (const testing::Crashed&) {
    }
    return faulty ? faulty->operations() : 0;
  }

  testing::TestPrefix p;
};

const std::string kInstall =
    "file cancel\nanswer ok\npress next\nfile C:\\pakket\\upd.VMU\npress next\nwait unpack\n"
    "answer ok\nanswer ok\nanswer ok\npress next\npress next\n";
const std::string kRollBack = "answer yes\nanswer yes\nanswer no\nanswer ok\nanswer ok\npress turnback\n";

struct Counts {
  int runs = 0, old_state = 0, new_state = 0;
};

// Runs `scenario` broken at every operation, in every way; after each, a
// fresh start must leave exactly `before` or exactly `after`.
Counts SweepScenario(const std::string& prepare, const std::string& scenario) {
  // The faults are simulated: real flushes only slow the sweep down.
  if (access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
  std::map<std::string, FileState> before, after;
  int operations;
  {
    Sweep clean;
    if (!prepare.empty()) clean.Run(prepare);
    before = clean.Snapshot();
    operations = clean.Run(scenario);
    after = clean.Snapshot();
  }
  EXPECT_NE(before, after);
  EXPECT_GT(operations, 10);
  Counts counts;
  for (Fault fault : {Fault::Once, Fault::FromThenOn, Fault::Crash}) {
    for (int at = 1; at <= operations; ++at) {
      Sweep s;
      if (!prepare.empty()) s.Run(prepare);
      s.Run(scenario, fault, at);
      s.Run("answer ok\n");  // the next start, and its message if it has one
      const std::map<std::string, FileState> now = s.Snapshot();
      ++counts.runs;
      if (now == before) ++counts.old_state;
      else if (now == after) ++counts.new_state;
      else
        ADD_FAILURE() << "fault " << static_cast<int>(fault) << " at operation " << at << " of " << operations
                      << ": neither the old nor the new state";
    }
  }
  return counts;
}

TEST(CrashSweep, InstallationIsOldOrNewAfterEveryFault) {
  const Counts c = SweepScenario("", kInstall);
  EXPECT_GT(c.old_state, 0);
  EXPECT_GT(c.new_state, 0);
  std::cout << "installatie: " << c.runs << " runs, " << c.old_state << " old, " << c.new_state << " new\n";
}

TEST(CrashSweep, RollBackIsOldOrNewAfterEveryFault) {
  const Counts c = SweepScenario(kInstall, kRollBack);
  EXPECT_GT(c.new_state, 0);
  std::cout << "terugdraaien: " << c.runs << " runs, " << c.old_state << " old, " << c.new_state << " new\n";
}

// End to end: the roll-back puts back the recorded counter however often it
// runs, a never-updated installation keeps its counter, and a full disk is
// refused before anything changes.
TEST(RollBackScenario, CounterAndFullDisk) {
  Sweep s;
  const std::string ini = kData + "VM.ini";
  s.Run(kRollBack);  // never updated: nothing to undo
  EXPECT_EQ(s.p.Read(ini), "[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n");
  const auto before = s.Snapshot();

  s.Run(kInstall, Fault::Once, 0, "freespace 0\n");  // no room: refused, nothing changed
  EXPECT_EQ(s.Snapshot(), before);
  EXPECT_NE(s.p.Read(kData + "ConversieLog.TXT")
                .find("Onvoldoende schijfruimte: Er is niet genoeg vrije "
                      "schijfruimte voor deze update in de map C:\\Program "
                      "Files\\velmora\\"),
            std::string::npos)
      << s.p.Read(kData + "ConversieLog.TXT");

  s.Run(kInstall);
  EXPECT_EQ(s.p.Read(ini), "[Main]\r\nVersion=10302\r\nVersionUpdate=6\r\n");
  for (int press = 1; press <= 2; ++press) {  // a second press changes nothing more
    s.Run(kRollBack);
    EXPECT_EQ(s.Snapshot(), before) << press;
  }
}

}  // namespace
}  // namespace vmu
