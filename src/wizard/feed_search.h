// The search for updates in the supplier's feed: fetched, its signature
// checked against the trusted keys, its serial and expiry judged, and the
// packages that lead on from the installed version put in order. No window:
// the wizard's button and the unattended run both use it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/run_context.h"
#include "package/update_feed.h"
#include "wizard/update_source.h"

namespace vmu {

struct FeedSearch {
  std::string refusal;  // why there is nothing to offer (Dutch); empty when the feed was taken
  std::vector<package::FeedEntry> chain;
  UpdateSource source;
  int32_t installed_version = 0;
  int32_t installed_update = 0;
};

// Whether the program folder names a feed.
bool HasUpdateSource(RunContext& ctx);

// Fetches and judges the feed. A refusal is logged; a feed taken raises the
// serial kept in Update.ini, so that an older one is refused from then on.
FeedSearch SearchFeed(RunContext& ctx, int64_t now);

// What the wizard shows of a chain: one package, or the order of several.
std::string ChainText(const FeedSearch& search);

// The Dutch message for a failed fetch or download.
std::string NetFailureText(const NetResult& result);

}  // namespace vmu
