#include "platform/host/drive_map.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "platform/error.h"
#include "testing/error_of.h"
#include "testing/temp_dir.h"

namespace vmu {
namespace {

namespace fs = std::filesystem;
using testing::ErrorOf;
using testing::TempDir;

// Moves into a folder for one test and back again.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) : old_(fs::current_path()) { fs::current_path(folder); }
  ~InFolder() { fs::current_path(old_); }

 private:
  fs::path old_;
};

TEST(DriveMap, MatchesExistingComponentsWithoutRegardToCasePreferringTheExactSpelling) {
  TempDir dir;
  fs::create_directories(dir.Sub("drive_c/Program Files/velmora"));
  for (const char* data : {"drive_c/data", "drive_c/DATA", "drive_c/Data"}) fs::create_directories(dir.Sub(data));
  testing::WriteHostFile(dir.Sub("drive_c/Program Files/velmora/VM.EXE"), "x");
  DriveMap map(dir.path());
  const std::string c = dir.Sub("drive_c");

  EXPECT_EQ(map.ToHost("C:\\PROGRAM FILES\\Velmora\\vm.exe"), c + "/Program Files/velmora/VM.EXE");
  EXPECT_EQ(map.ToHost("c:/program files/VELMORA/"), c + "/Program Files/velmora");
  // Missing components keep the spelling given, below an existing match too.
  EXPECT_EQ(map.ToHost("C:\\program files\\New Folder\\A.ini"), c + "/Program Files/New Folder/A.ini");
  EXPECT_EQ(map.ToHost("C:\\"), c);
  EXPECT_EQ(map.ToHost("C:"), c);
  // Dots fold lexically, never above the root.
  EXPECT_EQ(map.ToHost("C:\\program files\\.\\velmora\\..\\x.txt"), c + "/Program Files/x.txt");
  EXPECT_EQ(map.ToHost("C:\\..\\..\\Program Files"), c + "/Program Files");
  EXPECT_EQ(map.ToHost("C:\\missing\\..\\PROGRAM FILES"), c + "/Program Files");
  // Several names that differ in case only.
  EXPECT_EQ(map.ToHost("C:\\Data"), dir.Sub("drive_c/Data"));
  EXPECT_EQ(map.ToHost("C:\\DATA"), dir.Sub("drive_c/DATA"));
  EXPECT_EQ(map.ToHost("C:\\dAtA"), dir.Sub("drive_c/DATA"));  // the first in sorted order
}

TEST(DriveMap, UsesDosdevicesLinksAndTheDefaultDrives) {
  TempDir dir;
  TempDir other;
  fs::create_directories(dir.Sub("drive_c"));
  fs::create_directories(dir.Sub("dosdevices"));
  fs::create_directories(other.Sub("Shared/Velmora"));
  fs::create_symlink(other.path(), dir.Sub("dosdevices/d:"));
  DriveMap map(dir.path());

  EXPECT_EQ(map.ToHost("D:\\shared\\velmora\\vm.ini"), other.Sub("Shared/Velmora/vm.ini"));
  EXPECT_EQ(map.ToHost("d:\\"), other.path());
  EXPECT_EQ(map.ToHost("Z:\\etc"), "/etc");
  EXPECT_EQ(ErrorOf([&] { map.ToHost("Q:\\x"); }), kPathNotFound);

  // A relative link, as Wine makes them, replaces the default C: drive.
  fs::create_directories(dir.Sub("elsewhere"));
  fs::create_symlink("../elsewhere", dir.Sub("dosdevices/c:"));
  EXPECT_EQ(map.ToHost("C:\\x"), dir.Sub("elsewhere/x"));
  // A link read once is read again once it is replaced.
  fs::remove(dir.Sub("dosdevices/d:"));
  fs::create_symlink("../elsewhere", dir.Sub("dosdevices/d:"));
  EXPECT_EQ(map.ToHost("D:\\x"), dir.Sub("elsewhere/x"));
}

TEST(DriveMap, RefusesUncAndMalformedPaths) {
  TempDir dir;
  DriveMap map(dir.path());
  for (const std::string& path :
       std::vector<std::string>{"\\\\server\\share\\x", "//server/share", "\\\\?\\C:\\x", "", "C:\\a*b", "C:\\a?",
                                "C:\\a:b", "C:\\a|b", std::string("C:\\a\0b", 6)}) {
    EXPECT_EQ(ErrorOf([&] { map.ToHost(path); }), kBadFileName) << path;
  }
}

TEST(DriveMap, RelativePathsUseTheCurrentFolder) {
  TempDir dir;
  fs::create_directories(dir.Sub("drive_c/Work/Sub"));
  DriveMap map(dir.path());
  const std::string c = dir.Sub("drive_c");
  InFolder in(dir.Sub("drive_c/Work"));

  EXPECT_EQ(map.ToHost("sub\\Update.ini"), c + "/Work/Sub/Update.ini");
  EXPECT_EQ(map.ToHost("..\\Work"), c + "/Work");
  EXPECT_EQ(map.ToHost("\\Update.ini"), c + "/Update.ini");  // root of the current drive
  EXPECT_EQ(map.ToHost("C:sub"), c + "/Work/Sub");           // current folder of drive C:
  EXPECT_EQ(map.ToHost("Z:tmp"), "/tmp");                    // another drive: from its root
  EXPECT_EQ(map.ToHost("."), c + "/Work");
}

TEST(DriveMap, WindowsFormOfHostPaths) {
  TempDir dir;
  TempDir other;
  fs::create_directories(dir.Sub("drive_c/Program Files/velmora"));
  fs::create_directories(dir.Sub("dosdevices"));
  fs::create_symlink(other.path(), dir.Sub("dosdevices/e:"));
  // A drive inside another: the longest root wins.
  fs::create_directories(dir.Sub("drive_c/mnt"));
  fs::create_symlink(dir.Sub("drive_c/mnt"), dir.Sub("dosdevices/m:"));
  DriveMap map(dir.path());

  EXPECT_EQ(map.ToWindows(dir.Sub("drive_c/Program Files/velmora")), "C:\\Program Files\\velmora");
  EXPECT_EQ(map.ToWindows(dir.Sub("drive_c")), "C:\\");
  EXPECT_EQ(map.ToWindows(dir.Sub("drive_c/")), "C:\\");
  EXPECT_EQ(map.ToWindows(dir.Sub("drive_c/mnt/x.txt")), "M:\\x.txt");
  EXPECT_EQ(map.ToWindows(other.Sub("a/b")), "E:\\a\\b");
  EXPECT_EQ(map.ToWindows("/usr/share"), "Z:\\usr\\share");
  EXPECT_EQ(map.ToWindows("/"), "Z:\\");
  EXPECT_EQ(map.ToWindows(dir.Sub("drive_c/x/../y")), "C:\\y");

  // Round trip, with the case of what exists.
  EXPECT_EQ(map.ToWindows(map.ToHost("c:\\PROGRAM FILES\\VELMORA\\New.txt")), "C:\\Program Files\\velmora\\New.txt");
}

}  // namespace
}  // namespace vmu
