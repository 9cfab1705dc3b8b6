// The seal at the end of a package: the comment of the zip archive's end
// record, which zip tools show and otherwise pass over.
//
//   VMU-SEAL 2 start=<offset of the archive> sha256=<64 hex digits>\n
//   [the four lines of a minisign signature file]
//
// The SHA-256 covers every byte of the file before the comment: the
// unpacker program, the archive and its end record (whose comment length
// fixes the size of the signature lines). The signature covers the same
// bytes and the seal line after them, so everything that is run or
// unpacked is signed, and nothing can be added before or after it.
// Packages of the first kind ("VMU-SEAL 1", no line end, no signature)
// hashed the archive only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vmu::package {

inline constexpr std::size_t kZipEndRecordSize = 22;
// The end record's comment is at most 65,535 bytes.
inline constexpr std::size_t kSealTailSize = kZipEndRecordSize + 65535;

struct SealLayout {
  int version = 2;
  uint64_t archive_start = 0;
  uint64_t hash_begin = 0;     // the SHA-256 covers hash_begin..comment_start
  uint64_t comment_start = 0;  // where the seal line starts
  uint64_t signed_end = 0;     // the signature covers 0..signed_end (after the seal line)
  uint64_t end_record = 0;     // where the end record starts
  std::string sha256;          // 64 lower-case hex digits
  std::string signature;       // the signature file's text; empty when unsigned
};

// The seal of a file of `file_size` bytes whose last bytes are `tail` (at
// most kSealTailSize of them); nullopt with `why` when the file has none.
std::optional<SealLayout> FindSeal(std::string_view tail, uint64_t file_size, std::string* why);

// The seal line that vmu-pack writes, with its line end.
std::string SealLine(uint64_t archive_start, const std::string& sha256);

}  // namespace vmu::package
