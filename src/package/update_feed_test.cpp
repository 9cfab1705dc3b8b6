#include "package/update_feed.h"

#include <gtest/gtest.h>

namespace vmu::package {
namespace {

FeedEntry Entry(const std::string& file, int low_update, int update) {
  return {file, file, 100, std::string(64, 'a'), 10302, update, 10302, low_update, false, "2026-12-06", "Nieuw"};
}

TEST(UpdateFeed, RoundTripsAndRefusesWhatIsNoFeed) {
  UpdateFeed feed{7, *ParseUtcTime("2027-01-05T12:00:00Z"), {Entry("a.VMU", 5, 6), Entry("b.VMU", 6, 7)}};
  const auto back = ParseFeed(FeedJson(feed));
  ASSERT_TRUE(back);
  EXPECT_EQ(FeedJson(*back), FeedJson(feed));
  EXPECT_EQ(back->packages[1].ver_low_update, 6);

  const std::string head = R"({"format":1,"serial":3,"expires":"2027-01-05T12:00:00Z","packages":[)";
  const std::string good =
      R"("file":"a.VMU","url":"a.VMU","size":5,"Ver":1,"VerUpdate":2,"VerLow":1,"VerLowUpdate":1,)";
  const std::string hash = std::string(R"("sha256":")") + std::string(64, '0') + "\"";
  EXPECT_TRUE(ParseFeed(head + "{" + good + hash + "}]}"));
  for (const std::string& bad : {
           std::string("not json"),
           std::string(R"({"format":2,"serial":3,"expires":"2027-01-05T12:00:00Z","packages":[]})"),
           std::string(R"({"format":1,"serial":-3,"expires":"2027-01-05T12:00:00Z","packages":[]})"),
           std::string(R"({"format":1,"serial":18446744073709551615,"expires":"2027-01-05T12:00:00Z","packages":[]})"),
           std::string(R"({"format":1,"serial":3,"expires":"2027-02-30T12:00:00Z","packages":[]})"),
           head + "{" + good + R"("sha256":"ABC"}]})",
           head + "{" + good + hash + R"(,"size":0}]})",
           head + "{" + good + hash + "},{" + good + hash + "}]}",
           head + R"({"file":"..\\x.VMU","url":"x","size":5,"Ver":1,"VerUpdate":2,"VerLow":1,"VerLowUpdate":1,)" +
               hash + "}]}",
           head + R"({"file":"Update.ini","url":"x","size":5,"Ver":1,"VerUpdate":2,"VerLow":1,"VerLowUpdate":1,)" +
               hash + "}]}",
           head + "{" + good + hash + R"(,"Ver":"1"}]})",
           head + "{" + good + hash + R"(,"Ver":99999999999}]})",
           std::string(kMaxFeedBytes + 1, ' '),
       }) {
    std::string why;
    EXPECT_FALSE(ParseFeed(bad, &why)) << bad;
    EXPECT_FALSE(why.empty()) << bad;
  }
}

TEST(UpdateFeed, JudgesSerialAndExpiry) {
  const UpdateFeed feed{5, 1000, {}};
  EXPECT_EQ(JudgeFeed(feed, 5, 999), FeedVerdict::Accepted);
  EXPECT_EQ(JudgeFeed(feed, 6, 999), FeedVerdict::OlderSerial);
  EXPECT_EQ(JudgeFeed(feed, 0, 1000), FeedVerdict::Expired);
}

TEST(UpdateFeed, ChainsFromTheInstalledVersion) {
  // 5 -> 6, then 6 -> 8 passes 7 by; 9 installs on 7 and later.
  const UpdateFeed feed{1, 0, {Entry("7", 6, 7), Entry("9", 7, 9), Entry("6", 5, 6), Entry("8", 6, 8)}};
  const auto names = [&](int update) {
    std::string out;
    for (const FeedEntry& e : UpdateChain(feed, 10302, update)) out += e.file + " ";
    return out;
  };
  EXPECT_EQ(names(4), "");
  EXPECT_EQ(names(5), "6 8 9 ");
  EXPECT_EQ(names(7), "9 ");
  EXPECT_EQ(names(9), "");
}

TEST(UpdateFeed, ResolvesUrlsAgainstTheFeed) {
  struct Case {
    const char *feed, *url, *want;
  } cases[] = {
      {"https://h.example/u/feed.json", "a.VMU", "https://h.example/u/a.VMU"},
      {"https://h.example/u/feed.json?x=1", "a.VMU", "https://h.example/u/a.VMU"},
      {"https://h.example/u/feed.json", "/p/a.VMU", "https://h.example/p/a.VMU"},
      {"https://h.example", "a.VMU", "https://h.example/a.VMU"},
      {"https://h.example/feed.json", "http://o.example/a.VMU", "http://o.example/a.VMU"},
  };
  for (const Case& c : cases) EXPECT_EQ(ResolveFeedUrl(c.feed, c.url), c.want) << c.feed << " " << c.url;
}

}  // namespace
}  // namespace vmu::package
