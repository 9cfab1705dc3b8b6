// An update that broke off, driven through the script driver: the next start
// puts the installation back and says so, also after "Open andere programma
// map"; a recovery that cannot finish names the file, keeps its journal and
// blocks every other change until it can.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/script/scenario_test_kit.h"
#include "testing/conversion_files.h"
#include "testing/fault_file_system.h"
#include "testing/test_doubles.h"

namespace vmu {
namespace {

using scenario::FileState;
using scenario::kData;
using scenario::kProg;
using scenario::Session;
// An installation in a folder of its own keeps its data beside the program.
const std::string kOther = "C:\\Velmora2\\";

const std::string kRecovered =
    "msgbox title \"VM_Update\" text \"De vorige update is onderbroken. Velmora is teruggezet naar de versie van "
    "voor die update.\\r\\n\\r\\nU kunt de update opnieuw uitvoeren.\" buttons ok icon information default 1 -> ok";

// Ends the run as a killed process would, at the first copy onto a file
// named `name`: everything before it reached the disk, nothing after.
class CrashAtCopy : public testing::ForwardingFileSystem {
 public:
  CrashAtCopy(FileSystem& inner, std::string name) : ForwardingFileSystem(inner), name_(std::move(name)) {}
  void CopyFile(const std::string& from, const std::string& to) override {
    if (to.ends_with(name_)) throw testing::Crashed{};
    ForwardingFileSystem::CopyFile(from, to);
  }
  void PlaceFile(const std::string& from, const std::string& to, int mode, const std::string& identity) override {
    if (to.ends_with(name_)) throw testing::Crashed{};
    ForwardingFileSystem::PlaceFile(from, to, mode, identity);
  }

 private:
  std::string name_;
};

// The standard installation, a second one in a folder of its own, and its
// package.
struct Installations : scenario::StandardInstallation {
  Installations() {
    std::filesystem::create_directory(p.Host(kOther));
    for (const std::string& file : {kProg + "VM.EXE", kData + "VM_DBv01.mdb", kData + "RptDB97.mdb", kData + "VM.ini",
                                    kData + "Factuur.ini"})  // modes too
      std::filesystem::copy_file(p.Host(file), p.Host(kOther + file.substr(file.rfind('\\') + 1)));
    Package("anders", "", kOther);
  }
  // The standard package's files, unpacking into the update folder of
  // `data`; `extra` lines join its file list.
  void Package(const std::string& name, const std::string& extra, const std::string& data) {
    const std::string files = p.prefix() + "/bron-" + name;
    std::filesystem::copy(source, files, std::filesystem::copy_options::recursive);
    testing::WriteHostFile(files + "/FileList.VML", testing::ReadHostFile(source + "/FileList.VML") + extra);
    scenario::WriteUnpackingPackage(p, "C:\\pakket\\" + name + ".VMU", files, p.Host(data + "Update"));
  }
  FileState State(const std::string& path) { return scenario::State(p, path); }
  // Every file the package touches, and the counter.
  std::map<std::string, FileState> Snapshot(const std::string& prog, const std::string& data) {
    std::map<std::string, FileState> s;
    for (const std::string& path :
         {prog + "VM.EXE", prog + "Nieuw.dll", data + "Factuur.ini", data + "VM.ini", data + "VM_DBv01.mdb"})
      s[path] = State(path);
    return s;
  }
  // One session (answers to its first messages go before "start");
  // `crash_at` names the file whose copy the run dies at.
  Session Run(const std::string& script, const std::string& crash_at = "") {
    std::unique_ptr<CrashAtCopy> crashing;
    return scenario::RunOn(
        p.prefix(), script,
        [&](FileSystem& host) -> FileSystem* {
          if (crash_at.empty()) return &host;
          crashing = std::make_unique<CrashAtCopy>(host, crash_at);
          return crashing.get();
        },
        false);
  }
  std::string Log(const std::string& data = kData) { return p.Read(data + "ConversieLog.TXT"); }
  bool Journal(const std::string& data = kData) { return p.Exists(data + "UpdateJournaal.txt"); }
};

const std::string kInstall =
    "start\nfile cancel\nanswer ok\npress next\nfile C:\\pakket\\upd.VMU\npress next\nwait unpack\npress next\n";

// A crash in the middle of replacing the files: the next start puts back
// exactly what was there, logs it after the old log and says so once; then
// the same package installs with the user's own files in the backups. The
// same holds for an installation reached by "Open andere programma map".
TEST(RecoveryScenario, CrashedInstallationIsUndoneAtTheNextStart) {
  Installations i;
  const auto before = i.Snapshot(kProg, kData);
  i.Run(kInstall, "Factuur.ini");
  ASSERT_TRUE(i.Journal());
  ASSERT_EQ(i.p.Read(kProg + "VM.EXE"), "#!/bin/sh\necho nieuw\n");  // broken off half way
  const std::string crashed_log = i.Log();

  Session next = i.Run("answer ok\nstart\n");
  EXPECT_EQ(next.status, 0) << next.out;
  EXPECT_TRUE(next.Has(kRecovered)) << next.out;
  EXPECT_EQ(i.Snapshot(kProg, kData), before);
  EXPECT_FALSE(i.Journal());
  EXPECT_EQ(i.Log().rfind(crashed_log + "\r\n*******************\r\nHerstellen onderbroken update\r\n", 0), 0u);
  EXPECT_NE(i.Log().find("Verwijderen " + kProg + "Nieuw.dll\r\nHerstel voltooid, VersionUpdate 5\r\n"),
            std::string::npos)
      << i.Log();

  Session again = i.Run(kInstall);
  EXPECT_FALSE(again.Has(kRecovered));
  EXPECT_EQ(i.p.Read(kData + "VM.ini"), "[Main]\r\nVersion=10302\r\nVersionUpdate=6\r\n");
  EXPECT_EQ(i.State(kData + "ConversieBackup-2\\Factuur.ini"), (FileState{"oud factuur\r\n", 0640}));
  EXPECT_EQ(i.State(kData + "ConversieBackup-1\\VM.EXE"), (FileState{"#!/bin/sh\necho oud\n", 0750}));

  // The other installation, updated after choosing its folder, breaks off too.
  const auto other_before = i.Snapshot(kOther, kOther);
  const std::string choose_other = "start\nfile C:\\Velmora2\\VM.EXE\npress openlocation\n";
  Session other =
      i.Run(choose_other + "file C:\\pakket\\anders.VMU\npress next\nwait unpack\npress next\n", "Factuur.ini");
  ASSERT_TRUE(i.Journal(kOther)) << other.out;
  const auto first_after = i.Snapshot(kProg, kData);
  // Its journal is not this installation's: the start finds nothing to undo.
  Session start = i.Run("start\n");
  EXPECT_FALSE(start.Has(kRecovered)) << start.out;
  Session recovered = i.Run("answer ok\n" + choose_other);  // the message comes after the folder's
  EXPECT_EQ(recovered.status, 0) << recovered.out;
  EXPECT_TRUE(recovered.Has(kRecovered)) << recovered.out;
  EXPECT_EQ(i.Snapshot(kOther, kOther), other_before);
  EXPECT_FALSE(i.Journal(kOther));
  EXPECT_EQ(i.Snapshot(kProg, kData), first_after);
}

// A recovery that cannot put a file back (a folder stands in its place)
// names it, keeps the journal and the backups, and goes on to the welcome
// page; installing, converting and rolling back are refused until a later
// start succeeds.
TEST(RecoveryScenario, FailedRecoveryKeepsJournalAndBlocksChanges) {
  Installations i;
  i.Package("conv", "", kData);  // made a conversion package below
  const std::string manifest = i.p.prefix() + "/bron-conv/installatieV2.ini";
  testing::WriteHostFile(manifest, testing::ReadHostFile(manifest) + testing::kConversionSettings);
  const auto before = i.Snapshot(kProg, kData);
  i.Run(kInstall, "Factuur.ini");
  ASSERT_TRUE(i.Journal());
  std::filesystem::remove(i.p.Host(kData + "Factuur.ini"));
  std::filesystem::create_directory(i.p.Host(kData + "Factuur.ini"));
  const std::string journal = i.p.Read(kData + "UpdateJournaal.txt");

  Session failed = i.Run("answer ok\nstart\n");
  EXPECT_EQ(failed.status, 0) << failed.out;
  const std::string not_restored =
      "msgbox title \"VM_Update\" text \"De vorige update is onderbroken en kon niet worden teruggezet.\\r\\nHet "
      "bestand Factuur.ini kon niet worden teruggezet (";
  EXPECT_NE(failed.out.find(not_restored), std::string::npos) << failed.out;
  EXPECT_NE(failed.out.find(").\\r\\n\\r\\nSluit Velmora af of start uw computer opnieuw op, en start daarna het "
                            "update programma opnieuw. Uw vorige bestanden blijven bewaard.\" buttons ok icon "
                            "exclamation default 1 -> ok\n"),
            std::string::npos)
      << failed.out;
  EXPECT_TRUE(failed.Has("set Label2 text \"Stap 1 van 3\""));  // the welcome page
  EXPECT_EQ(i.p.Read(kData + "UpdateJournaal.txt"), journal);
  EXPECT_NE(i.Log().find("\r\nFOUT "), std::string::npos) << i.Log();
  const auto kept = i.Snapshot(kProg, kData);

  const std::string unfinished =
      "De vorige update is onderbroken en is nog niet teruggezet. Sluit Velmora af of start uw computer opnieuw "
      "op, en start daarna het update programma opnieuw.";
  for (const std::string package : {"upd", "conv"}) {
    Session install = i.Run("answer ok\nstart\nanswer ok\nfile C:\\pakket\\" + package +
                            ".VMU\npress next\nwait unpack\npress next\n");
    EXPECT_EQ(install.status, 0) << package << "\n" << install.out;
    EXPECT_NE(install.out.find(unfinished), std::string::npos) << package << "\n" << install.out;
    EXPECT_EQ(install.out.find("Update succesvol"), std::string::npos) << package;
    EXPECT_EQ(i.Snapshot(kProg, kData), kept) << package;
    EXPECT_EQ(i.p.Read(kData + "UpdateJournaal.txt"), journal) << package;
  }
  EXPECT_EQ(i.State(kData + "ConversieBackup-1\\VM.EXE"), (FileState{"#!/bin/sh\necho oud\n", 0750}));
  EXPECT_EQ(i.State(kData + "ConversieBackup-2\\Factuur.ini"), (FileState{"oud factuur\r\n", 0640}));

  Session roll_back = i.Run("answer ok\nstart\nanswer yes\nanswer yes\nanswer ok\nanswer ok\npress turnback\n");
  EXPECT_EQ(roll_back.status, 0) << roll_back.out;
  EXPECT_TRUE(roll_back.Has("msgbox title \"Terugdraaien update\" text \"" + unfinished +
                            "\" buttons ok icon exclamation default 1 -> ok"))
      << roll_back.out;
  EXPECT_EQ(i.Snapshot(kProg, kData), kept);
  EXPECT_EQ(i.p.Read(kData + "UpdateJournaal.txt"), journal);

  // Once the file can be put back, the next start does so.
  std::filesystem::remove(i.p.Host(kData + "Factuur.ini"));
  Session restored = i.Run("answer ok\nstart\n");
  EXPECT_TRUE(restored.Has(kRecovered)) << restored.out;
  EXPECT_EQ(i.Snapshot(kProg, kData), before);
  EXPECT_FALSE(i.Journal());
}

// A roll-back with nothing to undo, a package refused for want of room and
// a failed installation that the automatic restore undid all leave files and
// counter as they were; a roll-back pressed afterwards, twice, keeps them
// there, and after the package does install, the roll-back puts back exactly
// that value however often it runs.
TEST(RollBackScenario, CounterStaysUntilAnInstallationSucceeds) {
  Installations i;
  i.Package("kapot", "\"Ontbreekt.dll\",1\r\n", kData);  // its list names a file it lacks
  const std::string ini = kData + "VM.ini";
  const auto before = i.Snapshot(kProg, kData);
  const std::string roll_back = "start\nanswer yes\nanswer yes\nanswer no\npress turnback\n";
  i.Run(roll_back);  // never updated: nothing to undo
  EXPECT_EQ(i.Snapshot(kProg, kData), before);

  i.Run("freespace 0\n" + kInstall);  // no room: refused, nothing changed
  EXPECT_EQ(i.Snapshot(kProg, kData), before);
  EXPECT_FALSE(i.Journal());
  EXPECT_NE(i.Log().find("Onvoldoende schijfruimte: Er is niet genoeg vrije schijfruimte voor deze update in de map "
                         "C:\\Program Files\\velmora\\"),
            std::string::npos)
      << i.Log();

  Session failed = i.Run("start\nanswer ok\nfile C:\\pakket\\kapot.VMU\npress next\nwait unpack\npress next\n");
  EXPECT_EQ(failed.status, 0) << failed.out;
  // The message's text is the update step's test.
  EXPECT_NE(failed.out.find("het installeren van bestand: \\r\\nOntbreekt.dll\\r\\n"), std::string::npos) << failed.out;
  EXPECT_EQ(i.Snapshot(kProg, kData), before);
  EXPECT_FALSE(i.Journal());

  for (int press = 1; press <= 2; ++press) {
    Session s = i.Run(roll_back);
    EXPECT_EQ(s.status, 0) << s.out;
    EXPECT_EQ(i.Snapshot(kProg, kData), before) << press;
  }
  i.Run(kInstall);
  EXPECT_EQ(i.p.Read(ini), "[Main]\r\nVersion=10302\r\nVersionUpdate=6\r\n");
  for (int press = 1; press <= 2; ++press) {  // a second press changes nothing more
    i.Run(roll_back);
    EXPECT_EQ(i.Snapshot(kProg, kData), before) << press;  // Nieuw.dll gone too
  }
}

}  // namespace
}  // namespace vmu
