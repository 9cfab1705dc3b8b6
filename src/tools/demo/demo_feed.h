// The demo's update feed: a second update that follows the first, both
// listed in a signed feed beside the packages, so that the wizard's search
// finds a chain of two.
#pragma once

#include <string>

#include "tools/demo/demo_installation.h"
#include "tools/demo/demo_keys.h"

namespace vmu {

// Writes DIR/packages/update-10302-07.VMU (01.03.02 / 0006 to 0007, signed)
// and DIR/packages/feed.json with its signature, listing it after
// update-10302-06.VMU (made by MakeDemoPackages). With a URL, the first
// installation's UpdateBron.txt points at it. The host path of the feed.
std::string MakeDemoFeed(const std::string& dir, const DemoPaths& paths, const std::string& unpacker,
                         const DemoKeys& keys, const std::string& feed_url);

}  // namespace vmu
