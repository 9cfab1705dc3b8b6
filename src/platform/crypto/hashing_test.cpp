#include "platform/crypto/hashing.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vmu::crypto
