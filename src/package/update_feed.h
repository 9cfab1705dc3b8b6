// The update feed: one JSON file a supplier publishes beside its packages,
// signed like them (a minisign ".minisig" beside it), so that the wizard
// can find the packages that apply to an installation. Text in, structs out.
//
//   {"format": 1, "serial": 7, "expires": "2027-01-05T12:00:00Z",
//    "packages": [{"file": "upd-0106.VMU", "url": "upd-0106.VMU",
//                  "size": 123456, "sha256": "<64 hex>",
//                  "Ver": 10302, "VerUpdate": 6, "VerLow": 10302, "VerLowUpdate": 5,
//                  "convert": false, "date": "2026-12-06", "note": "..."}]}
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vmu::package {

inline constexpr int kFeedFormat = 1;
// A feed is small; anything larger is refused before it is parsed.
inline constexpr uint64_t kMaxFeedBytes = 1 << 20;

struct FeedEntry {
  std::string file;  // bare package name, as it is saved
  std::string url;   // absolute, or relative to the feed's own URL
  uint64_t size = 0;
  std::string sha256;  // 64 lower-case hex digits
  int32_t ver = 0, ver_update = 0, ver_low = 0, ver_low_update = 0;
  bool convert = false;
  std::string date;  // YYYY-MM-DD
  std::string note;  // a short release note, in Dutch
};

struct UpdateFeed {
  uint64_t serial = 0;
  int64_t expires = 0;  // seconds since 1970, UTC
  std::vector<FeedEntry> packages;
};

// nullopt when the text is no feed; `why` then says what is wrong (English).
std::optional<UpdateFeed> ParseFeed(std::string_view json, std::string* why = nullptr);
std::string FeedJson(const UpdateFeed& feed);

// "2027-01-05T12:00:00Z" and back; nullopt for any other form.
std::optional<int64_t> ParseUtcTime(std::string_view text);
std::string UtcTimeText(int64_t seconds);

enum class FeedVerdict { Accepted, OlderSerial, Expired };
// A feed with a lower serial than the last one accepted, or past its expiry,
// could hold an installation back on an old version. The same serial is
// accepted again: it is the same feed, fetched once more.
FeedVerdict JudgeFeed(const UpdateFeed& feed, uint64_t last_serial, int64_t now);

// The packages to install in order, from the installed version on: each one
// installs on what the one before brings, and brings more. The step that
// goes furthest is taken first; empty when nothing applies.
std::vector<FeedEntry> UpdateChain(const UpdateFeed& feed, int32_t version, int32_t update);

// `url` resolved against the feed's URL when it is relative.
std::string ResolveFeedUrl(std::string_view feed_url, std::string_view url);

}  // namespace vmu::package
