#include "wizard/update_source.h"

#include <gtest/gtest.h>

namespace vmu {
namespace {

TEST(UpdateSource, TakesTheFirstAddressAndAnExplicitPlainHttp) {
  struct Case {
    const char* text;
    const char* url;
    bool plain_http;
  } cases[] = {
      {"\xEF\xBB\xBF# leverancier\r\n\r\n  https://u.example/feed.json  \r\nhttps://other.example\r\n",
       "https://u.example/feed.json", false},
      {"http://intern/feed.json\nOnbeveiligd\n", "http://intern/feed.json", true},
      {"# alleen commentaar\n\n", "", false},
  };
  for (const Case& c : cases) {
    const auto source = ParseUpdateSource(c.text);
    EXPECT_EQ(source ? source->url : "", c.url) << c.text;
    if (source) EXPECT_EQ(source->plain_http, c.plain_http) << c.text;
  }
}

}  // namespace
}  // namespace vmu
