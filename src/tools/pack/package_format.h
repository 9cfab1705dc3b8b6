// The layout of a package: the unpacker program, then a zip archive whose
// offsets count from the start of the package file (so that ordinary zip
// tools read it as it stands), sealed by the comment of its end record
// (package/package_seal.h): the SHA-256 of every byte before the comment,
// and, once signed, a minisign signature of those bytes and the seal line.
#pragma once

#include <cstdint>
#include <string>

#include "package/package_seal.h"

namespace vmu::pack {

using PackageLayout = package::SealLayout;

// Makes the zip archive that a zip writer left at archive_start..end of the
// file (offsets counted from its own start) count from the file's start,
// and seals it, unsigned. Raises PackError for an archive it cannot seal
// (over 4 GB).
void SealArchive(int fd, uint64_t archive_start, const std::string& path);

// Reads the seal: raises PackError when the file is no package or its end
// is missing.
PackageLayout ReadSeal(int fd, const std::string& path);

// The SHA-256 of a range of the file, read in large blocks.
std::string HashRange(int fd, uint64_t begin, uint64_t end, const std::string& path);

// Raises PackError when the file no longer matches its seal.
void VerifySeal(int fd, const PackageLayout& layout, const std::string& path);

// Sets the end record's comment length (fixing where the signature ends)
// and writes the seal line for the bytes before the comment; what follows
// the seal line is left to the caller. Returns the seal line.
std::string WriteSealLine(int fd, const PackageLayout& layout, std::size_t comment_size, const std::string& path);

}  // namespace vmu::pack
