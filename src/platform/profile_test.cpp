#include "platform/profile.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/error.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

// Files in memory; enough of a file system for the profile calls, and able
// to fail in ways a real disk cannot be made to fail when tests run as root.
class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders{"C:"};
  std::set<std::string> unreadable;
  int replace_error = 0;
  int replace_calls = 0;

  std::string ReadBytes(const std::string& path) override {
    if (unreadable.count(path)) Raise(kPermissionDenied);
    auto it = files.find(path);
    if (it == files.end()) Raise(folders.count(Folder(path)) ? kFileNotFound : kPathNotFound);
    return it->second;
  }
  void ReplaceBytes(const std::string& path, const std::string& bytes) override {
    ++replace_calls;
    if (!folders.count(Folder(path))) Raise(kPathNotFound);
    if (replace_error) Raise(replace_error);
    files[path] = bytes;
  }

  bool FileExists(const std::string& path) override { return files.count(path) > 0; }
  bool FolderExists(const std::string& path) override { return folders.count(path) > 0; }
  std::vector<std::string> ListFiles(const std::string&) override { return {}; }
  void MakeFolder(const std::string&) override { Raise(kInvalidArgument); }
  void RemoveFolder(const std::string&) override { Raise(kInvalidArgument); }
  void DeleteFile(const std::string&) override { Raise(kInvalidArgument); }
  void DeleteFiles(const std::string&) override { Raise(kInvalidArgument); }
  void MoveFile(const std::string&, const std::string&) override { Raise(kInvalidArgument); }
  void CopyFile(const std::string&, const std::string&) override { Raise(kInvalidArgument); }
  void AllowExecution(const std::string&) override { Raise(kInvalidArgument); }
  void AppendLine(const std::string&, const std::string&) override { Raise(kInvalidArgument); }
  std::string HostPath(const std::string& path) override { return path; }
  std::string WindowsPath(const std::string& host_path) override { return host_path; }

 private:
  static std::string Folder(const std::string& path) { return path.substr(0, path.rfind('\\')); }
};

const std::string kIni = "C:\\VM.ini";

TEST(ProfileTest, ReadsAnewFromTheFileSystem) {
  MemoryFileSystem fs;
  EXPECT_EQ(GetProfileString(fs, "Main", "Version", "?", 255, kIni), "?");
  fs.files[kIni] = "[Main]\r\nVersion=10203\r\n";
  EXPECT_EQ(GetProfileString(fs, "main", "version", "?", 255, kIni), "10203");
  fs.unreadable.insert(kIni);
  EXPECT_EQ(GetProfileString(fs, "Main", "Version", "?", 255, kIni), "?");
  EXPECT_EQ(GetProfileString(fs, "Main", "Version", "?", 255, "C:\\nowhere\\VM.ini"), "?");
}

TEST(ProfileTest, WritesCreateTheFileButNotTheFolder) {
  MemoryFileSystem fs;
  EXPECT_TRUE(WriteProfileString(fs, "Main", "Naam", "Kopiëren", kIni));
  EXPECT_EQ(fs.files[kIni], "[Main]\r\nNaam=Kopi\xEBren\r\n");
  EXPECT_EQ(GetProfileString(fs, "Main", "Naam", "", 255, kIni), "Kopiëren");

  EXPECT_FALSE(WriteProfileString(fs, "Main", "Naam", "x", "C:\\nowhere\\VM.ini"));
  EXPECT_EQ(fs.files.count("C:\\nowhere\\VM.ini"), 0u);
}

TEST(ProfileTest, UnchangedValueDoesNotTouchTheFile) {
  MemoryFileSystem fs;
  fs.files[kIni] = "[Main]\nVersionUpdate = 7\n";
  EXPECT_TRUE(WriteProfileString(fs, "Main", "VersionUpdate", "7", kIni));
  EXPECT_EQ(fs.replace_calls, 0);
  EXPECT_TRUE(WriteProfileString(fs, "Main", "VersionUpdate", "8", kIni));
  EXPECT_EQ(fs.files[kIni], "[Main]\nVersionUpdate=8\n");
}

TEST(ProfileTest, FailedWritesReportFalseAndKeepTheFile) {
  MemoryFileSystem fs;
  fs.files[kIni] = "[Main]\r\nVersion=1\r\n";
  fs.unreadable.insert(kIni);
  // An unreadable file must not be replaced by a file holding one key.
  EXPECT_FALSE(WriteProfileString(fs, "Main", "Version", "2", kIni));
  EXPECT_EQ(fs.replace_calls, 0);

  fs.unreadable.clear();
  fs.replace_error = kDiskFull;
  EXPECT_FALSE(WriteProfileString(fs, "Main", "Version", "2", kIni));
  EXPECT_EQ(fs.files[kIni], "[Main]\r\nVersion=1\r\n");
}

TEST(ProfileTest, WorksOnARealPrefix) {
  testing::TestPrefix prefix;
  const std::string ini = "C:\\Data\\VM.ini";
  EXPECT_FALSE(WriteProfileString(prefix.fs(), "Main", "Naam", "Kopiëren", ini));
  EXPECT_FALSE(prefix.Exists("C:\\Data"));

  prefix.Write(ini, "; eigen\n[Main]\nNaam=oud");
  EXPECT_TRUE(WriteProfileString(prefix.fs(), "Main", "Naam", "Kopiëren", ini));
  EXPECT_EQ(prefix.Read(ini), "; eigen\n[Main]\nNaam=Kopi\xEBren");
  EXPECT_EQ(GetProfileString(prefix.fs(), "MAIN", "naam", "", 255, ini), "Kopiëren");
}

}  // namespace
}  // namespace vmu
