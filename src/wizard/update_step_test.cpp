#include "wizard/update_step.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/text_encoding.h"
#include "wizard/install_test_fixture.h"

namespace vmu {
namespace {

using testing::InstallWizard;
using testing::kFittingManifest;
using testing::kNotDone;

const std::string kRead = "lezen INIfile installatieV2.ini\r\ncheck new update\r\n";
const std::string kCleanUp = "Opruimen installatiefiles\r\nverwijderen installatiedirectory C:\\data\\Update\r\n";

TEST(UpdateStep, RefusalsAndBadNumbersEndOnTheResultPage) {
  InstallWizard none;
  none.Step3();
  EXPECT_EQ(none.Label().rfind("Het updateprogramma kan het bestand installatieV2.ini of installatie.ini niet "
                               "vinden. Misschien heeft u een oud update bestand geopend, kies dan 'Vorig' om een "
                               "ander bestand te kiezen. Betreft het wel het juist bestand, geef dit door aan de "
                               "leverancier.\r\n\r\n" +
                                   kNotDone,
                               0),
            0u);
  EXPECT_EQ(none.Log(), "C:\\data\\Update\\installatieV2.ini niet gevonden\r\n" + kCleanUp);

  // No "VerLow": nothing qualifies. No "Version": it counts as 0 and is stored.
  InstallWizard low;
  low.prefix.Write("C:\\data\\VM.ini", "[Main]\r\nVersionUpdate=5\r\n");
  low.Unpacked("[Main]\r\nVer=10302\r\nNewUpdate=1\r\n");
  low.Step3();
  const std::string refusal =
      "Uw huidige applicatie heeft niet het minimaal vereiste versienummer voor deze update. Het kan zijn dat u "
      "één of meerdere voorgaande updates niet heeft geïnstalleerd. Installeer deze alsnog of neem contact op "
      "met uw leverancier\r\n\r\nUw huidige versie is: 00.00.00 / 0005\r\nDe vereiste versie is: 99.99.99 / 9999";
  EXPECT_EQ(
      low.Label().rfind(refusal + "\r\nDruk op Vorige om eventueel een andere updatefile te selecteren" + kNotDone, 0),
      0u);
  EXPECT_EQ(low.Log(), kRead + Utf8ToCp1252(refusal) + "\r\n" + kCleanUp);
  EXPECT_EQ(low.prefix.Read("C:\\data\\VM.ini"), "[Main]\r\nVersionUpdate=5\r\nVersion=0\r\n");
  EXPECT_EQ(low.prefix.Read("C:\\data\\Update.ini"), "[Main]\r\nNewUpdate=1\r\n");  // even when refused
  EXPECT_FALSE(low.prefix.Exists("C:\\data\\Update"));

  InstallWizard again;
  again.Unpacked("[Main]\r\nVer=10302\r\nVerUpdate=5\r\nVerLow=10302\r\nVerLowUpdate=5\r\n");
  again.Step3();
  EXPECT_EQ(again.Label().rfind("Deze update heeft u al geïnstalleerd. \r\nDruk op Stoppen om de upgrade af te "
                                "breken. U kunt weer verder met Velmora. \r\nDruk op Vorige om eventueel een andere "
                                "updatefile te selecteren" +
                                    kNotDone,
                                0),
            0u);
  EXPECT_EQ(again.Log(), kRead + Utf8ToCp1252("Deze update heeft u al geïnstalleerd. \r\n") + kCleanUp);

  // Text that is no number is the number readers' rule (utility_test); here
  // a switch above a byte, the sum of version and update that overflows, and
  // where the error goes.
  for (const char* manifest : {"[Main]\r\nClose=256\r\n", "[Main]\r\nVerLow=0\r\nVer=2147484\r\n"}) {
    InstallWizard bad;
    bad.Unpacked(manifest);
    bad.Step3();
    EXPECT_EQ(bad.Label().rfind("Er is een fout ontstaan met volgende beschrijving: 6 - Overflow", 0), 0u) << manifest;
    EXPECT_NE(bad.Log().find("FOUT 6 - Overflow. Stap 3\r\nlezen inifile: C:\\data\\Update\\installatieV2.ini\r\n"),
              std::string::npos);
  }
}

TEST(UpdateStep, EveryVisitLooksForTheNewManifestFirst) {
  InstallWizard w;
  w.prefix.Write("C:\\data\\Update\\installatie.ini", "[Main]\r\nVer=10302\r\nVerUpdate=5\r\n");
  w.Step3();
  EXPECT_NE(w.Log().find("lezen INIfile installatie.ini\r\n"), std::string::npos);
  w.Unpacked("[Main]\r\nVer=10302\r\nVerUpdate=5\r\n");
  w.Step3();
  EXPECT_NE(w.Log().find("lezen INIfile installatieV2.ini\r\n"), std::string::npos);
  EXPECT_EQ(w.Log().find("niet gevonden"), std::string::npos);
}

TEST(UpdateStep, WaitsForTheApplicationToCloseThenInstalls) {
  InstallWizard w;
  w.prefix.Write("C:\\data\\VM_DBv01.ldb", "");
  w.Unpacked(kFittingManifest, "\"VM.EXE\",1\r\n");
  w.Step3();
  EXPECT_EQ(w.Label(),
            "Voor deze upgrade dient Velmora afgesloten te worden alvorens verder te gaan. Ga naar "
            "Velmora en sluit af\r\n\r\n\r\nDaarna kunt u met de knop VOLGENDE de installatie afmaken");
  EXPECT_TRUE(w.view.Inspect(Control::Label1_1).bold);
  EXPECT_EQ(w.view.Inspect(Control::Label2).text, "Stap 3 van 3");
  EXPECT_EQ(w.Log(), kRead + "Applicatie moet worden afgesloten\r\n");
  EXPECT_EQ(w.prefix.Read("C:\\prog\\VM.EXE"), "oud exe");

  unlink(w.prefix.Host("C:\\data\\VM_DBv01.ldb").c_str());
  w.form->CmdWizard_Click(1);  // Step was set back: this runs step 3 again
  EXPECT_EQ(w.prefix.Read("C:\\prog\\VM.EXE"), "nieuw exe");

  // The next installation keeps only what it replaces itself.
  w.prefix.Write("C:\\data\\Update\\Factuur.ini", "nieuw factuur");
  w.Unpacked("[Main]\r\nVer=10302\r\nVerUpdate=7\r\nVerLow=0\r\nClose=0\r\n", "\"Factuur.ini\",2\r\n");
  w.Step3();
  EXPECT_TRUE(w.prefix.fs().ListFiles("C:\\data\\ConversieBackup-1\\").empty());
  EXPECT_EQ(w.prefix.fs().ListFiles("C:\\data\\ConversieBackup-2\\"), std::vector<std::string>{"Factuur.ini"});
}

// A list entry that fails after earlier entries were installed.
struct FailingInstall : InstallWizard {
  explicit FailingInstall(const std::string& last_entry, bool run = true) {
    prefix.Write("C:\\data\\Update\\Nieuw.dll", "dll");
    Unpacked(kFittingManifest, "\"VM.EXE\",1\r\n\"Nieuw.dll\",1\r\n" + last_entry + "\r\n");
    if (run) Run();
  }
  void Run() {
    view.QueueAnswer(Answer::Ok);
    Step3();
  }
  // Everything as before the update, and the page names the entry.
  void ExpectRestored(const std::string& entry) {
    std::string quoted;  // as the transcript writes it
    for (char ch : entry) quoted += ch == '\\' ? std::string("\\\\") : std::string(1, ch);
    EXPECT_EQ(Label().rfind("Er is een fout ontstaan bij het installeren van bestand: \r\n" + entry + kNotDone, 0), 0u)
        << Label();
    EXPECT_TRUE(
        Printed("msgbox title \"VM_Update\" text \"Er is een fout ontstaan bij het installeren van bestand: "
                "\\r\\n" +
                quoted +
                "\\r\\nDe bestanden worden nu weer teruggezet zodat u met de huidige "
                "versie van Velmora kunt doorwerken\" buttons ok icon none default 1 -> ok"))
        << transcript.str();
    EXPECT_EQ(prefix.Read("C:\\prog\\VM.EXE"), "oud exe");
    EXPECT_EQ(prefix.Read("C:\\data\\Factuur.ini"), "oud factuur");
    EXPECT_FALSE(prefix.Exists("C:\\prog\\Nieuw.dll"));
    EXPECT_EQ(prefix.Read("C:\\data\\VM.ini"), "[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n");
    EXPECT_FALSE(view.AnswersPending());
  }
};

TEST(UpdateStep, AFailingEntryPutsEveryEarlierFileBack) {
  // Its source is missing: the old Factuur.ini is already in the backup folder.
  FailingInstall missing("\"Factuur.ini\",2");
  missing.ExpectRestored("Factuur.ini");
  // The bar and its phase are gone before the restore is reported.
  EXPECT_NE(missing.Out().find("set Label2 text \"\"\nset Pbr visible false\nmsgbox title \"VM_Update\""),
            std::string::npos);
  // The backups of an installation that did not happen go with its record.
  EXPECT_FALSE(missing.prefix.Exists("C:\\data\\ConversieBackup-2\\Factuur.ini"));
  const std::string log = missing.Log();
  const std::string tail =
      "FOUT 53 - File not found. Stap 3\r\nlezen inifile: C:\\data\\Update\\installatieV2.ini\r\n"
      "\r\n*******************\r\nTerugdraaien installatie\r\n"
      "Verwijderen C:\\prog\\VM.EXE\r\n"
      "Kopi\xEBren C:\\data\\ConversieBackup-1\\VM.EXE naar C:\\prog\\VM.EXE\r\n"
      "Verwijderen C:\\data\\Factuur.ini\r\n"
      "Kopi\xEBren C:\\data\\ConversieBackup-2\\Factuur.ini naar C:\\data\\Factuur.ini\r\n"
      "Verwijderen C:\\prog\\Nieuw.dll\r\n" +
      kCleanUp;
  EXPECT_EQ(log.substr(log.size() - std::min(log.size(), tail.size())), tail) << log;
}

TEST(UpdateStep, HostileListsWriteNothingOutsideTheTwoFolders) {
  // Which names and locations are refused is the file list's rule; here a
  // refused entry stops the installation before any copy.
  FailingInstall w("\"..\\boven.txt\",1");
  w.ExpectRestored("..\\boven.txt");
  EXPECT_FALSE(w.prefix.Exists("C:\\boven.txt"));
  EXPECT_EQ(w.Log().find("Kopieren"), std::string::npos);
  if (geteuid() != 0) {
    FailingInstall read_only("", false);
    chmod(read_only.prefix.Host("C:\\prog").c_str(), 0555);
    read_only.Run();
    chmod(read_only.prefix.Host("C:\\prog").c_str(), 0755);
    read_only.ExpectRestored("VM.EXE");

    // A backup folder that cannot be emptied: its old files must never be
    // restored over newer ones, so nothing is installed.
    InstallWizard stale;
    stale.prefix.Write("C:\\data\\ConversieBackup-1\\VM.EXE", "ouder exe");
    chmod(stale.prefix.Host("C:\\data\\ConversieBackup-1").c_str(), 0555);
    stale.Unpacked(kFittingManifest, "\"VM.EXE\",1\r\n");
    stale.view.QueueAnswer(Answer::Ok);
    stale.Step3();
    chmod(stale.prefix.Host("C:\\data\\ConversieBackup-1").c_str(), 0755);
    EXPECT_EQ(stale.Label().rfind("Er is een fout ontstaan met volgende beschrijving: 75", 0), 0u);
    EXPECT_EQ(stale.prefix.Read("C:\\prog\\VM.EXE"), "oud exe");
  }
}

TEST(UpdateStep, MissingListAndTheMaintenanceButtonInstallNothing) {
  InstallWizard w;
  w.Unpacked(kFittingManifest);
  w.Step3();
  EXPECT_EQ(w.Label().rfind("In het updatebestand kan de Velmora listing niet gevonden worden, dit duidt op een "
                            "oude updatefile. \r\nDruk op annuleren om de upgrade af te breken. U kunt weer verder "
                            "met Velmora. \r\nDruk op Vorige om eventueel een andere updatefile te selecteren" +
                                kNotDone,
                            0),
            0u);
  EXPECT_NE(w.Log().find("Kan C:\\data\\Update\\FileList.VML niet vinden\r\n"), std::string::npos);
  EXPECT_EQ(w.prefix.Read("C:\\prog\\VM.EXE"), "oud exe");
  EXPECT_EQ(w.prefix.Read("C:\\data\\VM.ini"), "[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n");

  InstallWizard m;
  m.ctx.maintenance = true;
  m.Unpacked(kFittingManifest, "\"VM.EXE\",1\r\n");
  m.Step3();
  EXPECT_EQ(m.view.Inspect(Control::CmdCompareTables).text, "Druk nu op de knop");
  EXPECT_EQ(m.Log(), kRead);
  EXPECT_EQ(m.prefix.Read("C:\\prog\\VM.EXE"), "oud exe");
  EXPECT_TRUE(m.prefix.Exists("C:\\data\\Update\\VM.EXE"));
}

}  // namespace
}  // namespace vmu
