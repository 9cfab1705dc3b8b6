#include "platform/host/host_file_system.h"

#include <errno.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/error.h"
#include "testing/error_of.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

namespace fs = std::filesystem;
using testing::ErrorOf;
using testing::TestPrefix;

std::vector<std::string> Names(const std::string& host_folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(host_folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

using List = std::vector<std::string>;

TEST(HostFileSystem, ListsNormalFilesMatchingWindowsWildcards) {
  TestPrefix p;
  p.Write("C:\\d\\VM.ini", "1");
  p.Write("C:\\d\\vmbackuptool.INI", "2");
  p.Write("C:\\d\\Other.txt", "3");
  p.Write("C:\\d\\README", "4");
  p.Write("C:\\d\\.hidden.ini", "5");
  p.Write("C:\\d\\.cache\\inside.ini", "6");
  p.Write("C:\\d\\Sub.ini\\inside.ini", "7");  // a folder, whatever its name
  fs::create_symlink("VM.ini", p.Host("C:\\d\\linked.ini"));
  fs::create_symlink("gone.ini", p.Host("C:\\d\\dangling.ini"));
  auto& fs = p.fs();

  const List all{"linked.ini", "Other.txt", "README", "VM.ini", "vmbackuptool.INI"};
  EXPECT_EQ(fs.ListFiles("C:\\d\\*.*"), all);
  EXPECT_EQ(fs.ListFiles("c:\\D\\"), all);
  EXPECT_EQ(fs.ListFiles("C:\\d\\VM*.ini"), (List{"VM.ini", "vmbackuptool.INI"}));
  EXPECT_EQ(fs.ListFiles("C:\\d\\??.INI"), List{"VM.ini"});
  EXPECT_EQ(fs.ListFiles("C:\\d\\readme"), List{"README"});
  EXPECT_EQ(fs.ListFiles("C:\\d\\*.mdb"), List{});
  EXPECT_EQ(fs.ListFiles("C:\\missing\\*.*"), List{});
  EXPECT_EQ(fs.ListFiles("C:\\d\\Other.txt\\*.*"), List{});  // a file is no folder
  EXPECT_EQ(ErrorOf([&] { fs.ListFiles("\\\\server\\share\\*.*"); }), kBadFileName);
}

TEST(HostFileSystem, ExistenceTestsNeverRaise) {
  TestPrefix p;
  p.Write("C:\\Program Files\\velmora\\VM.EXE", "x");
  p.Write("C:\\Program Files\\velmora\\.lock", "x");
  auto& fs = p.fs();
  EXPECT_TRUE(fs.FileExists("C:\\PROGRAM FILES\\Velmora\\vm.exe"));
  EXPECT_FALSE(fs.FileExists("C:\\Program Files\\velmora\\.lock"));
  EXPECT_FALSE(fs.FileExists("C:\\Program Files\\velmora"));
  EXPECT_FALSE(fs.FileExists("C:\\Program Files\\velmora\\VM.EXE\\x"));
  EXPECT_FALSE(fs.FileExists("\\\\server\\share\\VM.EXE"));
  EXPECT_FALSE(fs.FileExists("C:\\Program Files\\velmora\\*.EXE"));
  EXPECT_FALSE(fs.FileExists("Q:\\VM.EXE"));
  EXPECT_TRUE(fs.FolderExists("c:\\program files\\VELMORA\\"));
  EXPECT_TRUE(fs.FolderExists("C:\\"));
  EXPECT_FALSE(fs.FolderExists("C:\\Program Files\\velmora\\VM.EXE"));
  EXPECT_FALSE(fs.FolderExists("\\\\server\\share"));
}

TEST(HostFileSystem, ErrorNumbersOfFailedOperations) {
  TestPrefix p;
  p.Write("C:\\d\\a.txt", "A");
  p.Write("C:\\d\\b.txt", "B");
  p.Write("C:\\full\\x.txt", "x");
  auto& fs = p.fs();

  EXPECT_EQ(ErrorOf([&] { fs.ReadBytes("C:\\d\\missing.txt"); }), kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.ReadBytes("C:\\missing\\a.txt"); }), kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.ReadBytes("C:\\d\\a.txt\\x"); }), kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.ReadBytes("C:\\d"); }), kPathFileAccessError);
  EXPECT_EQ(ErrorOf([&] { fs.ReadBytes("\\\\server\\share\\a.txt"); }), kBadFileName);
  EXPECT_EQ(ErrorOf([&] { fs.DeleteFile("C:\\d\\missing.txt"); }), kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.MakeFolder("C:\\D"); }), kPathFileAccessError);
  EXPECT_EQ(ErrorOf([&] { fs.MakeFolder("C:\\missing\\new"); }), kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.RemoveFolder("C:\\full"); }), kPathFileAccessError);
  EXPECT_EQ(ErrorOf([&] { fs.RemoveFolder("C:\\missing"); }), kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.RemoveFolder("C:\\"); }), kPathFileAccessError);
  EXPECT_EQ(ErrorOf([&] { fs.MoveFile("C:\\d\\missing.txt", "C:\\d\\c.txt"); }), kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.MoveFile("C:\\d\\a.txt", "C:\\missing\\a.txt"); }), kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.CopyFile("C:\\d\\missing.txt", "C:\\d\\c.txt"); }), kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.CopyFile("C:\\d\\a.txt", "C:\\missing\\a.txt"); }), kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.CopyFile("C:\\d\\a.txt", "C:\\full"); }), kPathFileAccessError);
  EXPECT_EQ(ErrorOf([&] { fs.AppendLine("C:\\missing\\log.txt", "x"); }), kPathNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.ReplaceBytes("C:\\missing\\x.ini", "x"); }), kPathNotFound);
  EXPECT_FALSE(p.Exists("C:\\missing"));  // not created on the way
  EXPECT_FALSE(p.Exists("C:\\d\\c.txt"));

  // A rename never replaces: an existing backup would be lost.
  EXPECT_EQ(ErrorOf([&] { fs.MoveFile("C:\\d\\a.txt", "C:\\D\\B.TXT"); }), kFileAlreadyExists);
  EXPECT_EQ(p.Read("C:\\d\\a.txt"), "A");
  EXPECT_EQ(p.Read("C:\\d\\b.txt"), "B");

  EXPECT_EQ(ErrorNumberForErrno(ENOSPC, "/x"), kDiskFull);
  EXPECT_EQ(ErrorNumberForErrno(EROFS, "/x"), kPermissionDenied);
  EXPECT_EQ(ErrorNumberForErrno(ENAMETOOLONG, "/x"), kBadFileName);
  EXPECT_EQ(ErrorNumberForErrno(ENOTEMPTY, "/x"), kPathFileAccessError);
}

TEST(HostFileSystem, CopyReplacesTheTargetWholeAndKeepsTheMode) {
  TestPrefix p;
  p.Write("C:\\pkg\\VMU_ZP.exe", std::string(200000, 'z'));
  p.Write("C:\\app\\VMU_ZP.EXE", "old");
  fs::permissions(p.Host("C:\\pkg\\VMU_ZP.exe"), fs::perms(0750));
  auto& fs = p.fs();

  fs.CopyFile("C:\\pkg\\VMU_ZP.exe", "C:\\app\\vmu_zp.exe");
  EXPECT_EQ(p.Read("C:\\app\\VMU_ZP.EXE"), std::string(200000, 'z'));
  EXPECT_EQ(fs.FileMode("C:\\app\\VMU_ZP.EXE"), 0750);
  EXPECT_EQ(Names(p.Host("C:\\app")), List{"VMU_ZP.EXE"});  // no temporary file left

  fs.CopyFile("C:\\pkg\\VMU_ZP.exe", "C:\\app\\Second.exe");
  EXPECT_EQ(Names(p.Host("C:\\app")), (List{"Second.exe", "VMU_ZP.EXE"}));
}

// An unpacked file becomes the installed one, but never two installed files
// one and the same: a second placing of the same source is a copy.
TEST(HostFileSystem, PlaceLinksOnceThenCopiesAndSyncsAll) {
  TestPrefix p;
  p.Write("C:\\Update\\VM.EXE", "nieuw");
  p.Write("C:\\app\\vm.exe", "oud");
  p.Write("C:\\data\\VM.ini", "");
  auto& fs = p.fs();
  const auto names_of = [&](const std::string& path) { return fs::hard_link_count(p.Host(path)); };

  fs.PlaceFile("C:\\Update\\VM.EXE", "C:\\app\\VM.EXE", 0751, "");
  fs.PlaceFile("C:\\Update\\VM.EXE", "C:\\data\\VM.EXE", 0640, "");
  EXPECT_EQ(names_of("C:\\app\\vm.exe"), 2u);  // the unpacked file's second name
  EXPECT_EQ(names_of("C:\\data\\VM.EXE"), 1u);
  EXPECT_EQ(fs.FileMode("C:\\app\\vm.exe"), 0751);
  EXPECT_EQ(fs.FileMode("C:\\data\\VM.EXE"), 0640);
  EXPECT_EQ(p.Read("C:\\data\\VM.EXE"), "nieuw");
  EXPECT_EQ(Names(p.Host("C:\\app")), List{"vm.exe"});  // replaced under its own name, nothing left beside it

  fs.SyncFiles({"C:\\app\\VM.EXE", "C:\\data\\VM.EXE"});
  EXPECT_EQ(ErrorOf([&] { fs.SyncFiles({"C:\\app\\VM.EXE", "C:\\app\\missing"}); }), kFileNotFound);
}

TEST(HostFileSystem, ReplaceBytesKeepsModeAndLinks) {
  TestPrefix p;
  p.Write("C:\\d\\VM.ini", "old");
  fs::permissions(p.Host("C:\\d\\VM.ini"), fs::perms(0640));
  p.Write("C:\\shared\\real.ini", "old");
  fs::create_symlink(p.Host("C:\\shared\\real.ini"), p.Host("C:\\d\\linked.ini"));
  auto& fs = p.fs();

  fs.ReplaceBytes("C:\\d\\vm.ini", "new");
  EXPECT_EQ(p.Read("C:\\d\\VM.ini"), "new");
  EXPECT_EQ(fs.FileMode("C:\\d\\VM.ini"), 0640);

  fs.ReplaceBytes("C:\\d\\linked.ini", "through the link");
  EXPECT_TRUE(fs::is_symlink(p.Host("C:\\d\\linked.ini")));
  EXPECT_EQ(p.Read("C:\\shared\\real.ini"), "through the link");
  EXPECT_EQ(Names(p.Host("C:\\d")), (List{"VM.ini", "linked.ini"}));
}

// The error number of op when run by a user without rights on files this
// test made: as root (where permission bits stop nothing) a child process
// that has become nobody; otherwise this process.
int ErrorAsOtherUser(const std::function<void()>& op) {
  if (geteuid() != 0) return ErrorOf(op);
  const pid_t pid = fork();
  if (pid == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(255);
    _exit(ErrorOf(op));
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 254;
}

TEST(HostFileSystem, PermissionDenied) {
  TestPrefix p;
  p.Write("C:\\locked\\VM.ini", "secret");
  p.Write("C:\\open\\x.txt", "x");
  fs::permissions(p.prefix(), fs::perms(0755));  // let another user reach drive_c
  fs::permissions(p.Host("C:\\locked\\VM.ini"), fs::perms::none);
  fs::permissions(p.Host("C:\\locked"), fs::perms(0555));
  auto& fs = p.fs();

  const int read = ErrorAsOtherUser([&] { fs.ReadBytes("C:\\locked\\VM.ini"); });
  if (read == 255) GTEST_SKIP() << "cannot become another user here";
  EXPECT_EQ(read, kPermissionDenied);
  EXPECT_EQ(ErrorAsOtherUser([&] { fs.DeleteFile("C:\\locked\\VM.ini"); }), kPermissionDenied);
  EXPECT_EQ(ErrorAsOtherUser([&] { fs.MakeFolder("C:\\locked\\sub"); }), kPermissionDenied);
  EXPECT_EQ(ErrorAsOtherUser([&] { fs.ReplaceBytes("C:\\locked\\new.ini", "x"); }), kPermissionDenied);
  EXPECT_EQ(ErrorAsOtherUser([&] { fs.AppendLine("C:\\locked\\log.txt", "x"); }), kPermissionDenied);
  EXPECT_EQ(ErrorAsOtherUser([&] { fs.CopyFile("C:\\locked\\VM.ini", "C:\\open\\y.txt"); }), kPermissionDenied);
  EXPECT_EQ(ErrorAsOtherUser([&] { fs.MoveFile("C:\\locked\\VM.ini", "C:\\open\\VM.ini"); }), kPermissionDenied);
  EXPECT_EQ(Names(p.Host("C:\\locked")), List{"VM.ini"});  // nothing changed, no temporary file left
}

}  // namespace
}  // namespace vmu
