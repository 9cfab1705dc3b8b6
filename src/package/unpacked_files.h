// The list of files the unpacker reports on standard output, one line each:
// SHA-256 (64 lower-case hex digits), a blank, the size in bytes, a blank,
// the name. The wizard installs only files that match it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vmu::package {

struct UnpackedFile {
  std::string name;
  uint64_t size = 0;
  std::string sha256;
};

std::string UnpackedFileLine(const UnpackedFile& file);

// By name in upper case (names compare without regard to letter case).
using UnpackedFiles = std::map<std::string, UnpackedFile>;

// nullopt when any line is not one of ours: the list then proves nothing.
std::optional<UnpackedFiles> ParseUnpackedFiles(std::string_view text);

}  // namespace vmu::package
