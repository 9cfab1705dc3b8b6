// The check that the wizard's own files (the journal, the backup record)
// and the backups it puts back are the bytes it wrote: CRC-32, which finds
// every flipped bit and every cut-off end.
#pragma once

#include <string>
#include <string_view>

namespace vmu {

// Eight upper-case hexadecimal digits.
std::string Checksum(std::string_view bytes);

// The bytes of a file whose last line is `key`=Checksum(everything before
// that line), without that line; raises 13 naming the line when the last
// line is missing or does not match.
std::string_view CheckedBody(std::string_view bytes, const std::string& key);

// `key`=Checksum(body) and CR LF, to end such a file with.
std::string ChecksumLine(std::string_view body, const std::string& key);

// Raises 13 with a description that names the line, for the messages that
// refuse a journal or record.
[[noreturn]] void RefuseLine(int number, std::string_view line);

}  // namespace vmu
