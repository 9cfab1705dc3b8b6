#include "tools/pack/feed_writer.h"

#include <gtest/gtest.h>

#include "platform/crypto/detached_signature.h"
#include "tools/pack/pack_test_support.h"

namespace vmu::pack {
namespace {

using testing::RunProgram;
using vmu::testing::ReadHostFile;

TEST(FeedWriter, AddsReplacesRaisesTheSerialAndSigns) {
  vmu::testing::TempDir dir;
  const std::string pack = testing::BinDir() + "/vmu-pack", feed = dir.Sub("feed.json");
  testing::WriteGoodSource(dir.Sub("src"));
  ASSERT_EQ(RunProgram({pack, "--keygen", dir.Sub("v.pub"), dir.Sub("v.key")}).status, 0);
  ASSERT_EQ(RunProgram({pack, "--sign", dir.Sub("v.key"), dir.Sub("src"), dir.Sub("a.VMU")}).status, 0);
  ASSERT_EQ(RunProgram({pack, dir.Sub("src"), dir.Sub("plain.VMU")}).status, 0);

  auto run = RunProgram({pack, "--feed", feed, "--sign", dir.Sub("v.key"), "--note", "Nieuw", dir.Sub("a.VMU")});
  ASSERT_EQ(run.status, 0) << run.err;
  run = RunProgram({pack, "--feed", feed, "--sign", dir.Sub("v.key"), "--days", "2", dir.Sub("a.VMU")});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto written = package::ParseFeed(ReadHostFile(feed));
  ASSERT_TRUE(written);
  EXPECT_EQ(written->serial, 2u);
  EXPECT_NEAR(written->expires - std::time(nullptr), 2 * 86400, 60);
  ASSERT_EQ(written->packages.size(), 1u);
  const package::FeedEntry& e = written->packages[0];
  EXPECT_EQ(e.file + e.url + e.note, "a.VMUa.VMUNieuw");
  EXPECT_EQ(e.ver * 1000 + e.ver_update, 10302006);
  EXPECT_EQ(e.ver_low_update, 5);
  EXPECT_EQ(e.size, ReadHostFile(dir.Sub("a.VMU")).size());
  EXPECT_EQ(crypto::DetachedSignatureChecker()
                .CheckDetached(ReadHostFile(feed), ReadHostFile(feed + ".minisig"), ReadHostFile(dir.Sub("v.pub")))
                .verdict,
            PackageVerdict::Signed);

  // A package the key did not sign is refused and the feed stays as it was.
  const std::string before = ReadHostFile(feed);
  EXPECT_EQ(RunProgram({pack, "--feed", feed, "--sign", dir.Sub("v.key"), dir.Sub("plain.VMU")}).status, 1);
  EXPECT_EQ(ReadHostFile(feed), before);
}

}  // namespace
}  // namespace vmu::pack
