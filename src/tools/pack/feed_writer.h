// vmu-pack --feed: writes the update feed that lets the wizard find the
// packages, and its detached signature.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "package/update_feed.h"
#include "platform/crypto/signing.h"

namespace vmu::pack {

inline constexpr int kDefaultFeedDays = 30;

// The feed's entry for a package: its manifest's versions, size and SHA-256.
// The package must be whole and, when `key` is given, signed with it.
// Raises PackError.
package::FeedEntry FeedEntryOf(const std::string& package, const crypto::SecretKey* key);

// `feed` with the packages' entries added or replaced (by file name), its
// serial raised and its expiry set `days` after `now`.
package::UpdateFeed AddToFeed(package::UpdateFeed feed, const std::vector<package::FeedEntry>& entries, int64_t now,
                              int days);

// Writes `path` and, with a key, `path`.minisig, each through a temporary
// file and a rename; without a key an old signature is removed, since it no
// longer fits. Raises PackError.
void WriteFeedFiles(const std::string& path, const package::UpdateFeed& feed, const crypto::SecretKey* key);

struct FeedRequest {
  std::string feed;        // FEED.json; read first when it is there
  std::string secret_key;  // empty: the feed is written unsigned
  std::vector<std::string> packages;
  int days = kDefaultFeedDays;
  std::string note;         // the release note of the packages given
  bool note_given = false;  // otherwise a replaced entry keeps its note
};

// The whole of vmu-pack --feed; returns the feed written. Raises PackError.
package::UpdateFeed UpdateFeedFile(const FeedRequest& request);

}  // namespace vmu::pack
