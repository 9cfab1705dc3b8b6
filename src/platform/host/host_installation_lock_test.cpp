#include "platform/host/host_installation_lock.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "testing/test_prefix.h"

namespace vmu {
namespace {

using testing::TestPrefix;

const std::string kFirst = "C:\\users\\anna\\AppData\\Roaming\\velmora\\";
const std::string kSecond = "C:\\Velmora-test\\";

struct Folders {
  Folders() {
    p.Write(kFirst + "VM.ini", "");
    p.Write(kSecond + "VM.ini", "");
  }
  TestPrefix p;
};

TEST(HostInstallationLock, OneHolderPerFolderAndAMoveLetsTheOldOneGo) {
  Folders f;
  auto first = std::make_unique<HostInstallationLock>(f.p.fs());
  HostInstallationLock second(f.p.fs());

  EXPECT_EQ(first->Take(kFirst), LockResult::Taken);
  EXPECT_EQ(first->Take("c:\\USERS\\anna\\appdata\\roaming\\VELMORA\\"), LockResult::Taken);  // its own, any spelling
  EXPECT_EQ(second.Take(kFirst), LockResult::Busy);

  // A folder that cannot hold the lock leaves the one held as it is.
  EXPECT_EQ(first->Take("C:\\nergens\\"), LockResult::Unavailable);
  EXPECT_EQ(second.Take(kFirst), LockResult::Busy);

  // Moving on to another installation lets go of the first.
  EXPECT_EQ(first->Take(kSecond), LockResult::Taken);
  EXPECT_EQ(second.Take(kFirst), LockResult::Taken);
  EXPECT_EQ(first->Take(kFirst), LockResult::Busy);
  EXPECT_EQ(second.Take(kSecond), LockResult::Busy);  // first still holds it after the refusal

  // Ending the holder frees its folder.
  first.reset();
  EXPECT_EQ(second.Take(kSecond), LockResult::Taken);

  // A folder or a link in the lock's place can hold no lock: it counts as held.
  HostInstallationLock third(f.p.fs());
  const std::string lock = f.p.Host(kFirst + kInstallationLockName);
  std::filesystem::remove(lock);
  std::filesystem::create_directory(lock);
  EXPECT_EQ(third.Take(kFirst), LockResult::Busy);
  std::filesystem::remove(lock);
  std::filesystem::create_symlink(lock + ".elders", lock);
  EXPECT_EQ(third.Take(kFirst), LockResult::Busy);
}

}  // namespace
}  // namespace vmu
