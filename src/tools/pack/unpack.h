// What the unpacker at the head of every package does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "package/unpacked_files.h"

namespace vmu::pack {

// What a package may hold at most, all files together.
inline constexpr uint64_t kMostUnpackedBytes = uint64_t{16} << 30;

// Unpacks the package file into the host folder (made when missing).
// Everything is checked before anything is written: the seal, then every
// entry (a bare file name no longer than Windows allows, a regular file
// with a stated size, no two names that differ only in letter case, no link
// or folder of that name in the way), then the sizes together against
// `size_limit` and the free space. Each file is written under a temporary
// name; all get their names once every file is written. Raises PackError
// (one line) on any failure, and then leaves the folder as it was. Returns
// each file written, with the SHA-256 of the bytes written.
std::vector<package::UnpackedFile> UnpackPackage(const std::string& package, const std::string& folder,
                                                 uint64_t size_limit = kMostUnpackedBytes);

}  // namespace vmu::pack
