// The host folder the unpacker writes into, from the folder it was given.
#pragma once

#include <string>

namespace vmu::pack {

// A host path ("/...") stands as it is. A Windows path is mapped through the
// drive prefix (WINEPREFIX, else ~/.wine), which must exist with its drive
// C: folder or its drive links: the unpacker never makes a prefix of its own
// in a place it guessed. Raises PackError naming what is missing.
std::string UnpackTarget(const std::string& folder);

}  // namespace vmu::pack
