#include "package/package_seal.h"

#include <gtest/gtest.h>

namespace vmu::package {
namespace {

std::string EndRecord(uint32_t directory, uint32_t directory_size, std::size_t comment) {
  std::string bytes = "PK\x05\x06";
  bytes += std::string(8, '\0');
  for (uint32_t v : {directory_size, directory}) bytes += {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  bytes += {char(comment), char(comment >> 8)};
  return bytes;
}

TEST(PackageSeal, FindsBothKindsAndWhereTheSignatureEnds) {
  const std::string hash(64, 'a');
  const std::string stub = "program";
  const std::string line = SealLine(stub.size(), hash);
  ASSERT_EQ(line, "VMU-SEAL 2 start=7 sha256=" + hash + "\n");
  const std::string signature = "untrusted comment: x\n";
  const std::string v2 = stub + EndRecord(7, 0, line.size() + signature.size()) + line + signature;
  std::string why;
  auto seal = FindSeal(v2, v2.size(), &why);
  ASSERT_TRUE(seal) << why;
  EXPECT_EQ(seal->version, 2);
  EXPECT_EQ(seal->hash_begin, 0u);
  EXPECT_EQ(seal->comment_start, 29u);
  EXPECT_EQ(seal->signed_end, 29u + line.size());
  EXPECT_EQ(seal->signature, signature);
  // Only the tail is needed.
  seal = FindSeal(v2.substr(3), v2.size(), &why);
  ASSERT_TRUE(seal);
  EXPECT_EQ(seal->comment_start, 29u);

  const std::string old_line = "VMU-SEAL 1 start=7 sha256=" + hash;
  const std::string v1 = stub + EndRecord(7, 0, old_line.size()) + old_line;
  seal = FindSeal(v1, v1.size(), &why);
  ASSERT_TRUE(seal) << why;
  EXPECT_EQ(seal->version, 1);
  EXPECT_EQ(seal->hash_begin, 7u);
  EXPECT_TRUE(seal->signature.empty());

  const std::pair<std::string, std::string> bad[] = {
      {v2.substr(0, v2.size() - 1), "no sealed archive at its end"},
      {stub + EndRecord(7, 0, 2) + "hi", "no seal"},
      {stub + EndRecord(7, 0, 26) + "VMU-SEAL 2 start=7 sha256=", "malformed seal"},
      {stub + EndRecord(8, 0, line.size()) + line, "malformed seal"},  // the directory is not where it says
      {stub + EndRecord(7, 0, old_line.size()) + "VMU-SEAL 1 start=x sha256=" + hash, "malformed seal"},
      {"", "no sealed archive at its end"},
  };
  for (const auto& [bytes, reason] : bad) {
    EXPECT_FALSE(FindSeal(bytes, bytes.size(), &why));
    EXPECT_EQ(why, reason);
  }
}

}  // namespace
}  // namespace vmu::package
