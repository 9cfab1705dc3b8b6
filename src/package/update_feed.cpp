#include "package/update_feed.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "package/bare_name.h"
#include "package/reserved_names.h"

namespace vmu::package {

namespace {

using nlohmann::json;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

bool IsHex64(const std::string& text) {
  if (text.size() != 64) return false;
  for (char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

bool IsDate(const std::string& text) { return text.empty() || ParseUtcTime(text + "T00:00:00Z").has_value(); }

// The entry at `item`, or a reason why it is none.
std::optional<FeedEntry> ReadEntry(const json& item, std::string& why) {
  if (!item.is_object()) return why = "a package entry is not an object", std::nullopt;
  FeedEntry e;
  const auto text = [&](const char* name, std::string& out, bool required) {
    const auto it = item.find(name);
    if (it == item.end()) return !required || (why = std::string("an entry lacks \"") + name + "\"", false);
    if (!it->is_string()) return why = std::string("\"") + name + "\" is not a text", false;
    out = it->get<std::string>();
    return true;
  };
  const auto number = [&](const char* name, auto& out, long long low, long long high) {
    const auto it = item.find(name);
    if (it == item.end() || !it->is_number_integer())
      return why = std::string("\"") + name + "\" is missing or not a whole number", false;
    const long long value =
        it->is_number_unsigned() && it->get<unsigned long long>() > 1ULL << 62 ? high + 1LL : it->get<long long>();
    if (value < low || value > high) return why = std::string("\"") + name + "\" is out of range", false;
    out = static_cast<std::remove_reference_t<decltype(out)>>(value);
    return true;
  };
  constexpr long long kLow = -2147483648LL, kHigh = 2147483647LL;
  if (!text("file", e.file, true) || !text("url", e.url, true) || !text("sha256", e.sha256, true) ||
      !text("date", e.date, false) || !text("note", e.note, false) || !number("size", e.size, 1, 1LL << 62) ||
      !number("Ver", e.ver, kLow, kHigh) || !number("VerUpdate", e.ver_update, kLow, kHigh) ||
      !number("VerLow", e.ver_low, kLow, kHigh) || !number("VerLowUpdate", e.ver_low_update, kLow, kHigh))
    return std::nullopt;
  if (const auto it = item.find("convert"); it != item.end()) {
    if (!it->is_boolean()) return why = "\"convert\" is not true or false", std::nullopt;
    e.convert = it->get<bool>();
  }
  if (const auto problem = NameProblem(e.file)) return why = "file \"" + e.file + "\" " + *problem, std::nullopt;
  if (IsReservedName(e.file)) return why = "file \"" + e.file + "\" is one of the wizard's own names", std::nullopt;
  if (e.url.empty()) return why = "the url of " + e.file + " is empty", std::nullopt;
  if (!IsHex64(e.sha256)) return why = "the sha256 of " + e.file + " is not 64 lower-case hex digits", std::nullopt;
  if (!IsDate(e.date)) return why = "the date of " + e.file + " is not YYYY-MM-DD", std::nullopt;
  return e;
}

int64_t Level(int32_t version, int32_t update) { return int64_t{version} * 1000 + update; }

}  // namespace

std::optional<int64_t> ParseUtcTime(std::string_view text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, used = 0;
  const std::string t(text);
  if (t.size() != 20 || std::sscanf(t.c_str(), "%4d-%2d-%2dT%2d:%2d:%2dZ%n", &y, &mo, &d, &h, &mi, &s, &used) != 6 ||
      used != 20 || mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59)
    return std::nullopt;
  const int64_t seconds = DaysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + s;
  // A day past the month's end (or a sign sscanf let through) does not read back the same.
  if (UtcTimeText(seconds) != t) return std::nullopt;
  return seconds;
}

std::string UtcTimeText(int64_t seconds) {
  int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  const int64_t rest = seconds - days * 86400;
  // Civil date from days (inverse of DaysFromCivil).
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(days - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2);
  char out[32];
  std::snprintf(out, sizeof out, "%04lld-%02u-%02uT%02lld:%02lld:%02lldZ", static_cast<long long>(y), m, d,
                static_cast<long long>(rest / 3600), static_cast<long long>(rest / 60 % 60),
                static_cast<long long>(rest % 60));
  return out;
}

std::optional<UpdateFeed> ParseFeed(std::string_view text, std::string* why) {
  std::string reason;
  const auto fail = [&](std::string r) -> std::optional<UpdateFeed> {
    if (why) *why = std::move(r);
    return std::nullopt;
  };
  if (text.size() > kMaxFeedBytes) return fail("the feed is larger than 1 MiB");
  const json doc = json::parse(text, nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) return fail("the feed is no JSON object");
  const auto format = doc.find("format");
  if (format == doc.end() || !format->is_number_integer() || format->get<long long>() != kFeedFormat)
    return fail("the feed is not of format 1");
  UpdateFeed feed;
  const auto serial = doc.find("serial");
  // At most 2^53, as every JSON reader holds it exactly (and Update.ini keeps it as a number).
  if (serial == doc.end() || !serial->is_number_unsigned() || serial->get<uint64_t>() > (uint64_t{1} << 53))
    return fail("\"serial\" is missing or not a whole number up to 2^53");
  feed.serial = serial->get<uint64_t>();
  const auto expires = doc.find("expires");
  const auto when =
      expires != doc.end() && expires->is_string() ? ParseUtcTime(expires->get<std::string>()) : std::nullopt;
  if (!when) return fail("\"expires\" is missing or not YYYY-MM-DDTHH:MM:SSZ");
  feed.expires = *when;
  const auto packages = doc.find("packages");
  if (packages == doc.end() || !packages->is_array()) return fail("\"packages\" is missing or not a list");
  for (const json& item : *packages) {
    auto entry = ReadEntry(item, reason);
    if (!entry) return fail(reason);
    for (const FeedEntry& seen : feed.packages)
      if (seen.file == entry->file) return fail("file \"" + entry->file + "\" is listed twice");
    feed.packages.push_back(std::move(*entry));
  }
  return feed;
}

std::string FeedJson(const UpdateFeed& feed) {
  json packages = json::array();
  for (const FeedEntry& e : feed.packages) {
    packages.push_back(json{{"file", e.file},
                            {"url", e.url},
                            {"size", e.size},
                            {"sha256", e.sha256},
                            {"Ver", e.ver},
                            {"VerUpdate", e.ver_update},
                            {"VerLow", e.ver_low},
                            {"VerLowUpdate", e.ver_low_update},
                            {"convert", e.convert},
                            {"date", e.date},
                            {"note", e.note}});
  }
  const json doc{
      {"format", kFeedFormat}, {"serial", feed.serial}, {"expires", UtcTimeText(feed.expires)}, {"packages", packages}};
  return doc.dump(2) + "\n";
}

FeedVerdict JudgeFeed(const UpdateFeed& feed, uint64_t last_serial, int64_t now) {
  if (feed.serial < last_serial) return FeedVerdict::OlderSerial;
  if (now >= feed.expires) return FeedVerdict::Expired;
  return FeedVerdict::Accepted;
}

std::vector<FeedEntry> UpdateChain(const UpdateFeed& feed, int32_t version, int32_t update) {
  std::vector<FeedEntry> chain;
  int64_t installed = Level(version, update);
  // Each step raises the level, so the chain is at most as long as the feed.
  for (std::size_t step = 0; step < feed.packages.size(); ++step) {
    const FeedEntry* best = nullptr;
    for (const FeedEntry& e : feed.packages) {
      if (Level(e.ver_low, e.ver_low_update) > installed || Level(e.ver, e.ver_update) <= installed) continue;
      if (!best || Level(e.ver, e.ver_update) > Level(best->ver, best->ver_update)) best = &e;
    }
    if (!best) break;
    chain.push_back(*best);
    installed = Level(best->ver, best->ver_update);
  }
  return chain;
}

std::string ResolveFeedUrl(std::string_view feed_url, std::string_view url) {
  if (url.find("://") != std::string_view::npos) return std::string(url);
  const std::size_t scheme = feed_url.find("://");
  if (!url.empty() && url.front() == '/') {
    const std::size_t host_end =
        scheme == std::string_view::npos ? std::string_view::npos : feed_url.find('/', scheme + 3);
    return std::string(feed_url.substr(0, host_end)) + std::string(url);
  }
  std::string_view base = feed_url.substr(0, feed_url.find_first_of("?#"));
  const std::size_t slash = base.rfind('/');
  if (slash == std::string_view::npos || (scheme != std::string_view::npos && slash < scheme + 3))
    return std::string(base) + "/" + std::string(url);
  return std::string(base.substr(0, slash + 1)) + std::string(url);
}

}  // namespace vmu::package
