// What the unpacker at the head of every package does.
#pragma once

#include <string>

namespace vmu::pack {

// Unpacks the package file into the host folder (made when missing).
// Everything is checked before anything is written: the seal, then every
// entry (a bare file name, a regular file, no two names that differ only in
// letter case, no link or folder of that name in the way). Each file is
// written under a temporary name; all get their names once every file is
// written. Raises PackError (one line) on any failure, and then leaves the
// folder as it was.
void UnpackPackage(const std::string& package, const std::string& folder);

}  // namespace vmu::pack
