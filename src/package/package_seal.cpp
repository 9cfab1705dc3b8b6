#include "package/package_seal.h"

namespace vmu::package {

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;

uint32_t Get(std::string_view bytes, std::size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = value << 8 | static_cast<uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

bool IsHex(std::string_view text) {
  return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::optional<uint64_t> Offset(std::string_view text) {
  if (text.empty() || text.size() > 15 || text.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  uint64_t value = 0;
  for (char ch : text) value = value * 10 + static_cast<uint64_t>(ch - '0');
  return value;
}

}  // namespace

std::string SealLine(uint64_t archive_start, const std::string& sha256) {
  return "VMU-SEAL 2 start=" + std::to_string(archive_start) + " sha256=" + sha256 + "\n";
}

std::optional<SealLayout> FindSeal(std::string_view tail, uint64_t file_size, std::string* why) {
  const auto fail = [&](const char* reason) -> std::optional<SealLayout> {
    if (why) *why = reason;
    return std::nullopt;
  };
  if (tail.size() > file_size) return fail("malformed seal");
  const uint64_t tail_start = file_size - tail.size();
  // The last end record whose comment reaches exactly to the end of the file.
  for (std::size_t p = tail.size() >= kZipEndRecordSize ? tail.size() - kZipEndRecordSize + 1 : 0; p-- > 0;) {
    if (Get(tail, p, 4) != kEndSignature || p + kZipEndRecordSize + Get(tail, p + 20, 2) != tail.size()) continue;
    const std::string_view comment = tail.substr(p + kZipEndRecordSize);
    SealLayout seal;
    std::string_view line;
    if (comment.starts_with("VMU-SEAL 1 start=")) {
      seal.version = 1;
      line = comment;
    } else if (comment.starts_with("VMU-SEAL 2 start=")) {
      const std::size_t end = comment.find('\n');
      if (end == std::string_view::npos) return fail("malformed seal");
      line = comment.substr(0, end);
      seal.signature = std::string(comment.substr(end + 1));
    } else {
      return fail("no seal");
    }
    const std::string_view prefix = "VMU-SEAL 1 start=";
    const std::size_t hash_at = line.find(" sha256=");
    if (hash_at == std::string_view::npos) return fail("malformed seal");
    const auto start = Offset(line.substr(prefix.size(), hash_at - prefix.size()));
    seal.sha256 = std::string(line.substr(hash_at + 8));
    if (!start || !IsHex(seal.sha256)) return fail("malformed seal");
    seal.archive_start = *start;
    seal.end_record = tail_start + p;
    seal.comment_start = seal.end_record + kZipEndRecordSize;
    seal.signed_end = seal.comment_start + line.size() + (seal.version == 2 ? 1 : 0);
    seal.hash_begin = seal.version == 1 ? seal.archive_start : 0;
    // The central directory (offsets from the file's start) ends at the end record.
    const uint64_t directory = Get(tail, p + 16, 4), directory_size = Get(tail, p + 12, 4);
    if (seal.archive_start > directory || directory + directory_size != seal.end_record) return fail("malformed seal");
    return seal;
  }
  return fail("no sealed archive at its end");
}

}  // namespace vmu::package
