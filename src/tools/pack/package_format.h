// The layout of a package: the unpacker program, then a zip archive whose
// offsets count from the start of the package file (so that ordinary zip
// tools read it as it stands), sealed by the comment of its end record:
//   VMU-SEAL 1 start=<offset of the archive> sha256=<64 hex digits>
// The SHA-256 covers every byte from the archive's start up to the comment,
// so the unpacker can tell a damaged package before it writes anything.
#pragma once

#include <cstdint>
#include <string>

namespace vmu::pack {

struct PackageLayout {
  uint64_t archive_start = 0;
  uint64_t sealed_end = 0;  // where the comment starts
  std::string sha256;
};

// Makes the zip archive that a zip writer left at archive_start..end of the
// file (offsets counted from its own start) count from the file's start,
// and seals it. Raises PackError for an archive it cannot seal (over 4 GB).
void SealArchive(int fd, uint64_t archive_start, const std::string& path);

// Reads the seal: raises PackError when the file is no package or its end
// is missing.
PackageLayout ReadSeal(int fd, const std::string& path);

// The SHA-256 of layout's range of the file, read in large blocks.
std::string HashRange(int fd, uint64_t begin, uint64_t end, const std::string& path);

// Raises PackError when the archive no longer matches its seal.
void VerifySeal(int fd, const PackageLayout& layout, const std::string& path);

}  // namespace vmu::pack
