// Breaks an installation and a roll-back at every single operation that
// changes the disk (an error once, a full disk from there on, a crash, a
// power cut that loses everything not flushed), then
// starts the wizard afresh on the same folders: the installation must be
// exactly as before or exactly as after, with nothing the user had lost.
#include <gtest/gtest.h>
#include <unistd.h>

#include <iostream>

#include "app/script/scenario_test_kit.h"
#include "platform/sqlite/sqlite_exec.h"
#include "testing/conversion_files.h"
#include "testing/fault_file_system.h"

namespace vmu {
namespace {

using scenario::FileState;
using scenario::kData;
using scenario::kProg;
using testing::Fault;
using testing::FaultFileSystem;

// The user's database, and the new layout a conversion package brings with
// its control table: small, real databases.
const char* const kUserDatabase =
    "CREATE TABLE Tbl_About (Version TEXT, CurrentVersion INTEGER);INSERT INTO Tbl_About VALUES ('5.1', 1);"
    "CREATE TABLE Klant (Nr INTEGER, Naam TEXT);INSERT INTO Klant VALUES (1, 'Jansen'), (2, 'Bakker');";
const char* const kNewDatabase =
    "CREATE TABLE Tbl_About (Version TEXT, CurrentVersion INTEGER);INSERT INTO Tbl_About VALUES ('5.2', 1);"
    "CREATE TABLE Klant (Nr INTEGER PRIMARY KEY, Naam TEXT, Land TEXT DEFAULT 'NL');"
    "INSERT INTO Klant (Nr, Naam) VALUES (99, 'Voorbeeld');";
const char* const kControlDatabase =
    "CREATE TABLE TblTabels (ID INTEGER PRIMARY KEY, tabelnaam TEXT, OrderDelete INTEGER, OrderUpdate INTEGER,"
    " DeleteTarget INTEGER, query TEXT, QueryDest TEXT, TlsDescription TEXT);"
    "INSERT INTO TblTabels VALUES (1, 'Klant', 1, 1, 1, 'SELECT Nr, Naam FROM Klant', 'Klant', 'Klanten');";

enum class Package { Files, Conversion };

// The standard installation; the conversion package instead converts the
// user's database and installs the result over it.
struct Sweep : scenario::StandardInstallation {
  explicit Sweep(Package package = Package::Files) {
    if (package == Package::Files) return;
    std::filesystem::remove(p.Host(kData + "VM_DBv01.mdb"));
    Database(p.Host(kData + "VM_DBv01.mdb"), kUserDatabase);
    const std::string manifest = source + "/installatieV2.ini";
    testing::WriteHostFile(manifest, testing::ReadHostFile(manifest) + testing::kConversionSettings);
    // The converted database takes the old one's name in the update folder.
    testing::WriteHostFile(source + "/FileList.VML", "\"VM.EXE\",1\r\n\"Nieuw.dll\",1\r\n\"VM_DBv01.mdb\",2\r\n");
    Database(source + "/VM_DBnieuw.mdb", kNewDatabase);
    Database(source + "/Conversie.mdb", kControlDatabase);
  }
  static void Database(const std::string& host_path, const std::string& sql) {
    ExecuteSql(host_path, "PRAGMA synchronous=OFF;" + sql);
  }
  FileState State(const std::string& path) { return scenario::State(p, path); }
  // With the backup record, unless a roll-back (which keeps it) is compared.
  std::map<std::string, FileState> Snapshot(bool record = true) {
    std::map<std::string, FileState> s;
    for (const std::string& path : {kProg + "VM.EXE", kProg + "Nieuw.dll", kData + "Factuur.ini", kData + "VM.ini",
                                    kData + "VM_DBv01.mdb", kData + "UpdateJournaal.txt"})
      s[path] = State(path);
    if (record) s[kData + "ConversieBackup.ini"] = State(kData + "ConversieBackup.ini");
    return s;
  }
  // One session; `fault` breaks its file system at operation `at` (0: never).
  int Run(const std::string& script, Fault fault = Fault::Once, int at = 0) {
    std::unique_ptr<FaultFileSystem> faulty;
    scenario::RunOn(
        p.prefix(), script,
        [&](FileSystem& host) {
          faulty = std::make_unique<FaultFileSystem>(host, fault, at);
          return faulty.get();
        },
        true);
    return faulty ? faulty->operations() : 0;
  }
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
// With `undo`, an outcome that is the old state must also take the same
// scenario, run once more without faults, to exactly the new state, and one
// that is the new state must take `undo` back to exactly the old state: no
// backup the user needs is lost on the way.
Counts SweepScenario(const std::string& prepare, const std::string& scenario, Package package = Package::Files,
                     const std::string& undo = "") {
  // The faults are simulated: real flushes only slow the sweep down.
  if (access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
  std::map<std::string, FileState> before, after, before_bare;
  int operations;
  {
    Sweep clean(package);
    if (!prepare.empty()) clean.Run(prepare);
    before = clean.Snapshot();
    before_bare = clean.Snapshot(false);
    operations = clean.Run(scenario);
    after = clean.Snapshot();
  }
  EXPECT_NE(before, after);
  EXPECT_GT(operations, 10);
  Counts counts;
  for (Fault fault : {Fault::Once, Fault::FromThenOn, Fault::Crash, Fault::PowerCut}) {
    for (int at = 1; at <= operations; ++at) {
      Sweep s(package);
      if (!prepare.empty()) s.Run(prepare);
      s.Run(scenario, fault, at);
      if (fault == Fault::PowerCut && s.State(kData + "UpdateJournaal.txt").mode != -1) {
        EXPECT_NE(s.State(kData + "ConversieLog.TXT").bytes, "") << at << ": the log goes with the journal";
      }
      s.Run("answer ok\n");  // the next start, and its message if it has one
      const std::map<std::string, FileState> now = s.Snapshot();
      ++counts.runs;
      if (now == before) ++counts.old_state;
      else if (now == after) ++counts.new_state;
      else
        ADD_FAILURE() << "fault " << static_cast<int>(fault) << " at operation " << at << " of " << operations
                      << ": neither the old nor the new state";
      if (undo.empty()) continue;
      if (now == before) s.Run(scenario);
      else s.Run(undo);
      EXPECT_EQ(s.Snapshot(now == before), now == before ? after : before_bare)
          << "fault " << static_cast<int>(fault) << " at operation " << at << ": the next "
          << (now == before ? "attempt" : "roll-back") << " did not reach the other state";
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

TEST(CrashSweep, ConversionUpdateIsOldOrNewAfterEveryFault) {
  {  // the new state holds the user's rows in the new layout, the old database is kept
    Sweep clean(Package::Conversion);
    const std::string old_database = clean.p.Read(kData + "VM_DBv01.mdb");
    clean.Run(kInstall);
    EXPECT_EQ(testing::HostRows(clean.p.Host(kData + "VM_DBv01.mdb"), "SELECT * FROM Klant ORDER BY Nr"),
              (std::vector<std::string>{"1|Jansen|NL", "2|Bakker|NL"}));
    EXPECT_EQ(clean.p.Read(kData + "ConversieBackup-2\\VM_DBv01.mdb"), old_database);
  }
  const Counts c = SweepScenario("", kInstall, Package::Conversion, kRollBack);
  EXPECT_GT(c.old_state, 0);
  EXPECT_GT(c.new_state, 0);
  std::cout << "conversie-update: " << c.runs << " runs, " << c.old_state << " old, " << c.new_state << " new\n";
}

TEST(CrashSweep, RollBackIsOldOrNewAfterEveryFault) {
  const Counts c = SweepScenario(kInstall, kRollBack);
  EXPECT_GT(c.new_state, 0);
  std::cout << "terugdraaien: " << c.runs << " runs, " << c.old_state << " old, " << c.new_state << " new\n";
}

}  // namespace
}  // namespace vmu
