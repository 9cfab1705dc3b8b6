#include "platform/crypto/host_package_checker.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/crypto/hashing.h"
#include "platform/error.h"
#include "testing/error_of.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

// What step 3 checked is what it installs: a file put under a checked name
// afterwards is refused, and nothing is placed.
TEST(HostPackageChecker, OnlyTheFilesHashedArePlaced) {
  testing::TestPrefix p;
  p.Write("C:\\Update\\a.dll", "checked");
  p.Write("C:\\Update\\b.dll", "checked");
  p.Write("C:\\app\\VM.EXE", "");
  HostPackageChecker checker(p.fs());
  const auto hashes = checker.HashFiles({"C:\\Update\\a.dll", "C:\\Update\\b.dll"});
  EXPECT_EQ(hashes[1].sha256, crypto::Sha256Hex("checked"));

  p.fs().PlaceFile("C:\\Update\\a.dll", "C:\\app\\a.dll", 0644, hashes[0].identity);
  EXPECT_EQ(p.Read("C:\\app\\a.dll"), "checked");
  p.Write("C:\\Update\\swapped", "checked");
  std::filesystem::rename(p.Host("C:\\Update\\swapped"), p.Host("C:\\Update\\b.dll"));
  EXPECT_EQ(
      testing::ErrorOf([&] { p.fs().PlaceFile("C:\\Update\\b.dll", "C:\\app\\b.dll", 0644, hashes[1].identity); }),
      kPathFileAccessError);
  EXPECT_FALSE(p.Exists("C:\\app\\b.dll"));
}

}  // namespace
}  // namespace vmu
