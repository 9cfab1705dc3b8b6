// Whole updates in prefixes laid out as wineboot makes them: start-up finds
// Velmora and its data folder as Wine shows them to a 32-bit program, and
// the update completes there.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <sstream>

#include "app/script/scenario_test_kit.h"
#include "testing/wine_prefix.h"
#include "views/headless/transcript.h"

namespace vmu {
namespace {

using testing::WinePrefix;
using testing::WinePrefixLayout;

std::string AccountName() {
  const passwd* account = getpwuid(getuid());
  return account ? account->pw_name : "user";
}

struct Scenario {
  const char* name;
  WinePrefixLayout layout;
  std::optional<std::string> user_variable;  // nullopt: USER unset
  std::string data_dir;                      // where start-up must put its data
  std::string documents;                     // where the file dialog opens
  bool data_in_virtual_store = false;        // else only in the program folder
};

const std::string kProgramDir = "C:\\Program Files (x86)\\velmora\\";

void RunScenario(const Scenario& s) {
  SCOPED_TRACE(s.name);
  WinePrefix p(s.layout);
  const std::string& user = s.layout.user;
  const std::string local = s.layout.relocated.count("Local AppData") ? s.layout.relocated.at("Local AppData")
                                                                      : "C:\\users\\" + user + "\\AppData\\Local";
  const std::string store = local + "\\VirtualStore" + kProgramDir.substr(2);
  const std::string data_source = s.data_in_virtual_store ? store : kProgramDir;
  p.Write(kProgramDir + "VM.EXE", "#!/bin/sh\necho oud\n");
  p.Write(data_source + "VM_DBv01.mdb", "db");
  p.Write(data_source + "RptDB97.mdb", "rpt");
  p.Write(data_source + "VM.ini", "[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n");

  // The package lies in the user's Documents, a link into the home folder;
  // it is a program that unpacks into the data folder's Update folder.
  const std::string source = p.home() + "/bron";
  testing::WriteHostFile(source + "/VM.EXE", "#!/bin/sh\necho nieuw\n");
  testing::WriteHostFile(source + "/installatieV2.ini",
                         "[Main]\r\nVer=10302\r\nVerUpdate=6\r\nVerLow=10302\r\nVerLowUpdate=5\r\n");
  testing::WriteHostFile(source + "/FileList.VML", "\"VM.EXE\",1\r\n");
  const std::string package = s.documents + "\\upd.VMU";
  scenario::WriteUnpackingPackage(p, package, source, p.Host(s.data_dir + "Update"));

  // Not scenario::Run: USER is this scenario's (every scenario sets its own).
  if (s.user_variable) setenv("USER", s.user_variable->c_str(), 1);
  else unsetenv("USER");
  std::istringstream in("prefix " + p.prefix() + "\nstart\nfile " + package +
                        "\npress next\nwait unpack\npress next\npress next\n");
  std::ostringstream out;
  const int status = RunScript(in, out);
  const std::string transcript = out.str();
  auto has = [&](const std::string& line) { return transcript.find(line + "\n") != std::string::npos; };

  EXPECT_EQ(status, 0) << transcript;
  EXPECT_TRUE(has("set Label1(2) text " + Quote(kProgramDir + "\r\n" + s.data_dir))) << transcript;
  EXPECT_TRUE(has("filedialog title \"Open de update file\" filter \"Velmora update files (*.VMU)|*.VMU\" folder " +
                  Quote(s.documents) + " file \"\" -> " + Quote(package)))
      << transcript;
  EXPECT_NE(transcript.find("set Label1(1) text \"De Update is succesvol verlopen"), std::string::npos);
  EXPECT_TRUE(has("end"));
  EXPECT_EQ(p.Read(kProgramDir + "VM.EXE"), "#!/bin/sh\necho nieuw\n");
  EXPECT_EQ(p.Read(s.data_dir + "ConversieBackup-1\\VM.EXE"), "#!/bin/sh\necho oud\n");
  EXPECT_EQ(p.Read(s.data_dir + "VM.ini"), "[Main]\r\nVersion=10302\r\nVersionUpdate=6\r\n");
  EXPECT_EQ(p.Read(s.data_dir + "VM_DBv01.mdb"), "db");
  EXPECT_FALSE(s.data_in_virtual_store && p.Exists(store + "VM_DBv01.mdb"));
  EXPECT_NE(p.Read(s.data_dir + "ConversieLog.TXT").find("Update succesvol verlopen\r\n"), std::string::npos);
  // Nothing lands in the profile of a user Wine does not know.
  EXPECT_FALSE(user != "user" && p.Exists("C:\\users\\user"));
}

// Which folders the registry names, for either architecture, is
// prefix_folders_test's; here the files wineboot writes are read for real.
TEST(WinePrefixScenario, UpdatesCompleteInPrefixesAsWinebootMakesThem) {
  const std::string account = AccountName();
  Scenario scenarios[] = {
      {"USER unset: the account's name",
       {.user = account},
       std::nullopt,
       "C:\\users\\" + account + "\\AppData\\Roaming\\velmora\\",
       "C:\\users\\" + account + "\\Documents"},
      {"Shell Folders relocated to another drive",
       {.user = "anna",
        .relocated = {{"AppData", "D:\\Profiel\\Gegevens"},
                      {"Local AppData", "D:\\Profiel\\Lokaal"},
                      {"Personal", "D:\\Profiel\\Mijn documenten"}},
        .extra_drives = {{'d', "schijf-d"}}},
       "anna",
       "D:\\Profiel\\Gegevens\\velmora\\",
       "D:\\Profiel\\Mijn documenten",
       true},
  };
  for (const Scenario& s : scenarios) RunScenario(s);
}

}  // namespace
}  // namespace vmu
