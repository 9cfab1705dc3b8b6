#include "tools/pack/source_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "tools/pack/pack_test_support.h"

namespace vmu::pack {
namespace {

using testing::BinDir;
using testing::LineCount;
using testing::RunProgram;
using testing::WriteGoodSource;
using vmu::testing::TempDir;
using vmu::testing::WriteHostFile;

struct Refusal {
  const char* what;
  std::function<void(const std::string&)> spoil;  // turns the good folder bad
  std::vector<std::string> lines;                 // a piece of each line expected on stderr
};

TEST(VmuPack, RefusesEachBadSourceWithOneLinePerProblemAndNoOutput) {
  const std::string manifest = "/installatieV2.ini";
  const auto write = [](const std::string& path, const std::string& bytes) {
    return [=](const std::string& src) { WriteHostFile(src + path, bytes); };
  };
  const std::vector<Refusal> refusals = {
      {"no manifest",
       [](const std::string& src) { std::filesystem::remove(src + "/installatieV2.ini"); },
       {"no manifest; add installatieV2.ini (or the older installatie.ini)"}},
      {"numbers",
       write(manifest,
             "[Main]\r\nVer=1.5\r\nVerUpdate=\r\nVerLow=99999999999\r\nClose=256\r\n"
             "NewUpdate=-1\r\nVerLowUpdate=5\r\n"),
       {"installatieV2.ini: [Main] Ver=\"1.5\" is not a whole number from -2147483648 to 2147483647",
        "[Main] VerUpdate=\"\" is not", "[Main] VerLow=\"99999999999\" is not",
        "[Main] Close=\"256\" is not a whole number from 0 to 255", "[Main] NewUpdate=\"-1\" is not"}},
      {"no list",
       [](const std::string& src) { std::filesystem::remove(src + "/FileList.VML"); },
       {": FileList.VML is missing; add the list of files to install"}},
      // Which names are unsafe, and why, is bare_name's to test.
      {"missing and unsafe names",
       write("/FileList.VML", "\"VM.EXE\",1\r\n\"gone.dll\",1\r\n..\\VM.ini,2\r\n.hidden,1\r\n"),
       {"FileList.VML line 2: \"gone.dll\" is not in ",
        "FileList.VML line 3: \"..\\VM.ini\" contains \"..\" (it could climb out of the folder); list bare file names "
        "only",
        "(files whose names start with a dot are not packed); add the file or remove the entry"}},
      {"the wizard's own names",
       [](const std::string& src) {
         WriteHostFile(src + "/update.ini", "x");
         WriteHostFile(src + "/FileList.VML", "\"VM.EXE\",1\r\n\"update.ini\",2\r\n");
       },
       {"FileList.VML line 2: \"update.ini\" is the name of one of the update wizard's own files or folders"}},
      {"a quote that is not closed",
       write("/FileList.VML", "\"VM.EXE\",1\r\nscreens.ini,2\r\n\"Caf\xE9.ini\",\"2"),
       {"vmu-pack: FileList.VML line 3: a quote is not closed; write one entry per line: \"NAME\",LOCATION\n"}},
      {"bad locations and doubles",
       write("/FileList.VML", "VM.EXE,x\r\nscreens.ini,2\r\nSCREENS.INI,2\r\nlonely\r\n"),
       {"FileList.VML line 1: the location \"x\" of \"VM.EXE\" is not a number from 0 to 255",
        "FileList.VML line 3: \"SCREENS.INI\" is listed for location 2 already on line 2",
        "FileList.VML line 4: \"lonely\" has no location code"}},
      {"missing databases",
       write(manifest,
             "[Main]\r\nVer=1\r\nVerLow=1\r\nConvert=1\r\nConvOldfile=VM_DBv01.mdb\r\n"
             "ConvNewfile=VM_DBv02.mdb\r\n"),
       {"installatieV2.ini: Convert=1 but ConvNewfile \"VM_DBv02.mdb\" is not in ",
        "installatieV2.ini: Convert=1 but ConvDatabase names no file"}},
      {"converted database listed without Convert=1",
       write("/FileList.VML", "\"VM.EXE\",1\r\n\"VM_DBv01.mdb\",2\r\n"),
       {"FileList.VML line 2: \"VM_DBv01.mdb\" is not in "}},
      {"names that differ in case only",
       write("/Screens.INI", "other"),
       {"\"Screens.INI\" and \"screens.ini\" differ only in letter case"}},
  };
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.what);
    TempDir dir;
    WriteGoodSource(dir.Sub("src"));
    refusal.spoil(dir.Sub("src"));
    std::filesystem::create_directory(dir.Sub("out"));
    const auto result = RunProgram({BinDir() + "/vmu-pack", dir.Sub("src"), dir.Sub("out/p.VMU")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(LineCount(result.err), static_cast<int>(refusal.lines.size())) << result.err;
    for (const std::string& line : refusal.lines)
      EXPECT_NE(result.err.find(line), std::string::npos) << line << "\n" << result.err;
    EXPECT_TRUE(std::filesystem::is_empty(dir.Sub("out")));  // neither the package nor a temporary file
  }
}

TEST(VmuPack, WarnsButPacksOtherLocationsAndTheOldManifest) {
  TempDir dir;
  WriteGoodSource(dir.Sub("src"));
  std::filesystem::rename(dir.Sub("src/installatieV2.ini"), dir.Sub("src/INSTALLATIE.INI"));
  WriteHostFile(dir.Sub("src/FileList.VML"), "\"VM.EXE\",1\r\n\"readme.txt\",3\r\n");
  WriteHostFile(dir.Sub("src/readme.txt"), "x");
  WriteHostFile(dir.Sub("src/.hidden"), "not packed");
  std::filesystem::create_directory(dir.Sub("src/subfolder"));

  SourceCheck check = CheckSourceFolder(dir.Sub("src"));
  EXPECT_TRUE(check.problems.empty());
  EXPECT_EQ(check.manifest, "INSTALLATIE.INI");
  ASSERT_EQ(check.warnings.size(), 1u);
  EXPECT_EQ(check.warnings[0],
            "FileList.VML line 2: \"readme.txt\" has location 3: the wizard passes it over "
            "(1 = program folder, 2 = data folder)");
  std::vector<std::string> names;
  for (const auto& f : check.files) names.push_back(f.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Caf\xC3\xA9.ini", "FileList.VML", "INSTALLATIE.INI", "VM.EXE",
                                             "readme.txt", "screens.ini"}));

  const auto result = RunProgram({BinDir() + "/vmu-pack", dir.Sub("src"), dir.Sub("p.VMU")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(LineCount(result.err), 1) << result.err;
  EXPECT_TRUE(std::filesystem::exists(dir.Sub("p.VMU")));
  // The temporary file is ours; the message names what the user asked for.
  const std::string missing = dir.Sub("missing/p.VMU");
  const auto refused = RunProgram({BinDir() + "/vmu-pack", dir.Sub("src"), missing});
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(refused.err.ends_with("\nvmu-pack: cannot create: " + missing + ": No such file or directory\n"))
      << refused.err;

  // A manifest without the versions installs nowhere: said, not refused.
  WriteHostFile(dir.Sub("src/INSTALLATIE.INI"), "[Main]\r\nClose=0\r\n");
  check = CheckSourceFolder(dir.Sub("src"));
  EXPECT_TRUE(check.problems.empty());
  EXPECT_EQ(check.warnings.size(), 3u);
}

}  // namespace
}  // namespace vmu::pack
