#include "platform/net/curl_network.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/crypto/hashing.h"
#include "testing/http_test_server.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

class CurlNetworkTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = new testing::TempDir;
    std::string bytes(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7919) >> 8);
    testing::WriteHostFile(root_->Sub("pkg"), bytes);
    server_ = new testing::HttpTestServer(root_->path());
    base_ = server_->base();
    ASSERT_FALSE(base_.empty());
  }
  static void TearDownTestSuite() {
    delete server_;
    delete root_;
  }
  static std::string File() { return testing::ReadHostFile(root_->Sub("pkg")); }

  testing::TestPrefix prefix_;
  CurlNetwork net_{prefix_.fs()};
  NetPolicy policy_{false, 5, 1};
  inline static testing::TempDir* root_ = nullptr;
  inline static testing::HttpTestServer* server_ = nullptr;
  inline static std::string base_;
};

TEST_F(CurlNetworkTest, DownloadsResumesAndRefusesFaults) {
  const std::string file = File();
  const uint64_t size = file.size();
  const std::string part = "C:\\pkg.part";
  struct Case {
    const char* what;
    std::string url;
    std::size_t had;  // bytes of the file already in the part
    int64_t stated;   // the size stated, less the real one
    NetFailure want;
    int64_t left;  // bytes in the part afterwards; -1: the whole file
  } cases[] = {
      {"fresh", "/pkg", 0, 0, NetFailure::None, -1},
      {"resumed", "/pkg", 1000, 0, NetFailure::None, -1},
      {"range ignored", "/pkg?norange=1", 1000, 0, NetFailure::None, -1},
      {"part too long", "/pkg", size, -1, NetFailure::TooLarge, 0},
      {"larger than stated", "/pkg", 0, -1, NetFailure::TooLarge, 0},
      {"short of stated", "/pkg", 0, 1, NetFailure::Interrupted, static_cast<int64_t>(size)},
      {"then past the server's end", "/pkg", size, 1, NetFailure::HttpStatus, 0},
      {"redirect", "/x?to=/pkg", 0, 0, NetFailure::None, -1},
      {"redirect loop", "/loop", 0, 0, NetFailure::Redirects, 0},
      {"redirect to plain http", "/x?to=http://example.invalid/pkg", 0, 0, NetFailure::Redirects, 0},
      {"not found", "/missing", 0, 0, NetFailure::HttpStatus, 0},
      {"server error", "/pkg?status=500", 0, 0, NetFailure::HttpStatus, 0},
      {"stalled", "/pkg?slow=3", 0, 0, NetFailure::TimedOut, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    prefix_.Write(part, file.substr(0, c.had));
    uint64_t shown = 0;
    const DownloadResult r =
        net_.Download(base_ + c.url, part, size + c.stated, policy_, [&](uint64_t done, uint64_t) { shown = done; });
    EXPECT_EQ(r.failure, c.want) << r.detail;
    if (c.left < 0) {
      EXPECT_EQ(prefix_.Read(part), file);
      EXPECT_EQ(r.sha256, crypto::Sha256Hex(file));
      EXPECT_EQ(shown, size);
    } else {
      EXPECT_EQ(prefix_.Read(part).size(), static_cast<std::size_t>(c.left));
    }
  }
  // Cut at several points, each attempt goes on from the bytes on disk.
  prefix_.Write(part, "");
  for (uint64_t cut : {uint64_t{1}, uint64_t{65536}, uint64_t{1500000}, size - 1}) {
    const uint64_t had = prefix_.Read(part).size();
    const auto r = net_.Download(base_ + "/pkg?close=" + std::to_string(cut - had), part, size, policy_, {});
    EXPECT_EQ(r.failure, NetFailure::Interrupted) << cut;
    EXPECT_EQ(prefix_.Read(part), file.substr(0, cut));
  }
  EXPECT_EQ(net_.Download(base_ + "/pkg", part, size, policy_, {}).sha256, crypto::Sha256Hex(file));
  EXPECT_EQ(prefix_.Read(part), file);
  // A part changed between two attempts is hashed again, not taken from where the first stopped.
  prefix_.Write(part, "");
  net_.Download(base_ + "/pkg?close=70000", part, size, policy_, {});
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // past the file system's clock tick
  std::string changed = file.substr(0, 70000);
  changed[5] ^= 1;
  std::fstream(prefix_.Host(part), std::ios::in | std::ios::out | std::ios::binary).write(changed.data(), 70000);
  EXPECT_EQ(net_.Download(base_ + "/pkg", part, size, policy_, {}).sha256,
            crypto::Sha256Hex(changed + file.substr(70000)));
}

TEST_F(CurlNetworkTest, FetchesWithinItsLimitAndOnlyWhereAllowed) {
  std::string body;
  EXPECT_TRUE(net_.Fetch(base_ + "/pkg", 1 << 22, policy_, body).ok());
  EXPECT_EQ(body, File());
  EXPECT_EQ(net_.Fetch(base_ + "/pkg", 1 << 20, policy_, body).failure, NetFailure::TooLarge);
  EXPECT_EQ(body, "");
  EXPECT_EQ(net_.Fetch("http://example.invalid/feed.json", 100, policy_, body).failure, NetFailure::NotSecure);
  EXPECT_EQ(net_.Fetch("file:///etc/passwd", 100, policy_, body).failure, NetFailure::NotSecure);
  EXPECT_EQ(net_.Fetch("http://127.0.0.1:1/feed.json", 100, policy_, body).failure, NetFailure::Unreachable);
}

TEST(UrlAllowed, HttpsEverywherePlainHttpOnlyToLoopbackOrWhenAllowed) {
  struct Case {
    const char* url;
    bool plain_allowed, want;
  } cases[] = {
      {"https://updates.example/feed.json", false, true},
      {"HTTP://127.0.0.1:8080/f", false, true},
      {"http://[::1]/f", false, true},
      {"http://localhost/f", false, true},
      {"http://127.0.0.1.evil.example/f", false, false},
      {"http://user@127.0.0.1@evil.example/f", false, false},
      {"http://updates.example/f", false, false},
      {"http://updates.example/f", true, true},
      {"ftp://updates.example/f", true, false},
      {"https:///f", false, false},
  };
  for (const Case& c : cases) EXPECT_EQ(UrlAllowed(c.url, {c.plain_allowed}), c.want) << c.url;
}

}  // namespace
}  // namespace vmu
