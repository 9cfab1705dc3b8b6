#include "platform/crypto/hashing.h"

#include <gtest/gtest.h>

#include "platform/crypto/host_package_checker.h"
#include "platform/error.h"
#include "testing/test_prefix.h"

namespace vmu::crypto {
namespace {

TEST(Sha256, KnownDigestsInAnyPieces) {
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  const std::string million(1000000, 'a');
  EXPECT_EQ(Sha256Hex(million), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  Sha256 pieces;
  for (std::size_t pos = 0, step = 1; pos < million.size(); pos += step, step = step * 3 % 997 + 1)
    pieces.Update(million.data() + pos, std::min(step, million.size() - pos));
  EXPECT_EQ(pieces.HexDigest(), Sha256Hex(million));
}

// Many files hashed at once come back in the list's order, and the first
// unreadable one in that order is the one reported.
TEST(Sha256, ManyFilesInOrderAndTheFirstFailureRaised) {
  testing::TestPrefix prefix;
  HostPackageChecker checker(prefix.fs());
  std::vector<std::string> paths, digests;
  for (int i = 0; i < 9; ++i) {
    paths.push_back("C:\\f" + std::to_string(i));
    prefix.Write(paths.back(), std::string(i * 70000, static_cast<char>('a' + i)));
    digests.push_back(Sha256Hex(std::string(i * 70000, static_cast<char>('a' + i))));
  }
  EXPECT_EQ(checker.Sha256OfFiles(paths), digests);
  EXPECT_TRUE(checker.Sha256OfFiles({}).empty());
  paths.insert(paths.begin() + 5, "C:\\missing");
  paths.insert(paths.begin() + 7, "C:\\");
  try {
    checker.Sha256OfFiles(paths);
    ADD_FAILURE() << "an unreadable file was hashed";
  } catch (const VbError& e) {
    EXPECT_EQ(e.number(), kFileNotFound);
  }
}

}  // namespace
}  // namespace vmu::crypto
