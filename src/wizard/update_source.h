// UpdateBron.txt in the program folder: where the supplier publishes its
// update feed. Shipped by the supplier, like UpdateSleutels.txt; without it
// the wizard does not search.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vmu {

inline constexpr const char* kUpdateSourceName = "UpdateBron.txt";

struct UpdateSource {
  std::string url;          // of the feed; its signature is url + ".minisig"
  bool plain_http = false;  // a line "onbeveiligd": http allowed, not only https
};

// The first line that is neither blank nor a '#' comment is the URL; a UTF-8
// byte-order mark is dropped. nullopt when there is no URL.
std::optional<UpdateSource> ParseUpdateSource(std::string_view text);

}  // namespace vmu
