#include "platform/host/folder_names.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/host/name_match.h"
#include "testing/temp_dir.h"

namespace vmu {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteHostFile;

using Found = std::optional<std::string>;

// What a fresh listing of the folder says, the answer every lookup must give.
Found Listed(const std::string& folder, const std::string& part) {
  std::error_code ec;
  Found found;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (SameNameIgnoringCase(name, part) && (!found || name < *found)) found = name;
  }
  return found;
}

// Other programs change the folder between lookups, with no time passing:
// every change must be seen at once.
TEST(FolderNames, AnswersAsAFreshListingWhateverOtherProgramsDo) {
  TempDir dir;
  const std::string folder = dir.Sub("map");
  fs::create_directory(folder);
  FolderNames names;
  EXPECT_EQ(names.Find(folder, "vm.exe"), std::nullopt);

  const std::vector<std::string> spellings = {"VM.EXE", "vm.exe", "Vm.Exe", "ÉÉN.ini", "één.INI", "x", "X"};
  std::mt19937 random(7);
  auto any = [&] { return spellings[random() % spellings.size()]; };
  for (int step = 0; step < 3000; ++step) {
    const std::string name = folder + "/" + any();
    std::error_code ec;
    switch (random() % 5) {
      case 0:
        if (!fs::is_directory(name)) WriteHostFile(name, "");
        break;
      case 1: fs::remove(name, ec); break;
      case 2: rename(name.c_str(), (folder + "/" + any()).c_str()); break;
      case 3: fs::create_directory(name, ec); break;
      default: break;
    }
    if (random() % 3 == 0) fs::remove_all(name, ec);
    const std::string wanted = any();
    ASSERT_EQ(names.Find(folder, wanted), Listed(folder, wanted)) << "step " << step << ", " << wanted;
  }

  // The folder itself replaced by another of the same name.
  WriteHostFile(folder + "/Oud.txt", "");
  ASSERT_EQ(names.Find(folder, "oud.TXT"), "Oud.txt");
  fs::rename(folder, dir.Sub("weg"));
  fs::create_directory(folder);
  WriteHostFile(folder + "/Nieuw.txt", "");
  EXPECT_EQ(names.Find(folder, "oud.txt"), std::nullopt);
  EXPECT_EQ(names.Find(folder, "NIEUW.TXT"), "Nieuw.txt");
  fs::remove_all(folder);
  EXPECT_EQ(names.Find(folder, "nieuw.txt"), std::nullopt);

  // Reached through a link: the same folder, the same answers.
  fs::create_directory(folder);
  fs::create_directory_symlink(folder, dir.Sub("link"));
  EXPECT_EQ(names.Find(dir.Sub("link"), "a"), std::nullopt);
  WriteHostFile(folder + "/A", "");
  EXPECT_EQ(names.Find(dir.Sub("link"), "a"), "A");
  EXPECT_EQ(names.Find(folder, "a"), "A");
}

// A child forked with the index (a test, a program about to start another)
// must not take the changes its parent has yet to see.
TEST(FolderNames, AForkedChildLeavesItsParentsNoticesAlone) {
  TempDir dir;
  FolderNames names;
  ASSERT_EQ(names.Find(dir.path(), "a"), std::nullopt);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    WriteHostFile(dir.Sub("A"), "");
    _exit(names.Find(dir.path(), "a") == "A" ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(names.Find(dir.path(), "a"), "A");
}

// More folders than it keeps, and more changes than the kernel queues: the
// answers stay right.
TEST(FolderNames, StaysRightPastItsLimits) {
  TempDir dir;
  FolderNames names;
  for (int i = 0; i < 600; ++i) {
    const std::string folder = dir.Sub("f" + std::to_string(i));
    fs::create_directory(folder);
    ASSERT_EQ(names.Find(folder, "a"), std::nullopt);
  }
  WriteHostFile(dir.Sub("f0/A"), "");
  WriteHostFile(dir.Sub("f599/A"), "");
  EXPECT_EQ(names.Find(dir.Sub("f0"), "a"), "A");
  EXPECT_EQ(names.Find(dir.Sub("f599"), "a"), "A");

  int queued = 16384;
  std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> queued;
  if (queued > 100000) GTEST_SKIP() << "the kernel queues " << queued << " changes";
  const std::string busy = dir.Sub("druk");
  fs::create_directory(busy);
  ASSERT_EQ(names.Find(busy, "laatste"), std::nullopt);
  // Each rename is two changes (the old name goes, the new one comes).
  WriteHostFile(busy + "/0", "");
  for (int i = 0; i <= queued / 2; ++i) {
    ASSERT_EQ(rename((busy + "/0").c_str(), (busy + "/1").c_str()), 0);
    ASSERT_EQ(rename((busy + "/1").c_str(), (busy + "/0").c_str()), 0);
  }
  WriteHostFile(busy + "/Laatste", "");
  EXPECT_EQ(names.Find(busy, "LAATSTE"), "Laatste");
  EXPECT_EQ(names.Find(busy, "0"), "0");
}

}  // namespace
}  // namespace vmu
