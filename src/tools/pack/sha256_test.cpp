#include "tools/pack/sha256.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace vmu::pack {
namespace {

TEST(Sha256, KnownDigestsInAnyPieces) {
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // 56 bytes: the length no longer fits the first block.
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  const std::string million(1000000, 'a');
  EXPECT_EQ(Sha256Hex(million), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  // Fed in uneven pieces, across block borders.
  Sha256 pieces;
  for (std::size_t pos = 0, step = 1; pos < million.size(); pos += step, step = step * 3 % 997 + 1)
    pieces.Update(million.data() + pos, std::min(step, million.size() - pos));
  EXPECT_EQ(pieces.HexDigest(), Sha256Hex(million));
}

TEST(Sha256, FastBlocksMatchPortableBlocks) {
  std::mt19937 random(7);
  std::vector<uint8_t> data(64 * 50);
  for (auto& byte : data) byte = static_cast<uint8_t>(random());
  uint32_t portable[8] = {1, 2, 3, 4, 5, 6, 7, 8}, fast[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  Sha256BlocksPortable(portable, data.data(), 50);
  Sha256BlocksFast(fast, data.data(), 50);
  EXPECT_TRUE(std::equal(portable, portable + 8, fast));
}

}  // namespace
}  // namespace vmu::pack
