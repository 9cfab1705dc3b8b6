#include "files/checksum.h"

#include <array>
#include <cstdint>

#include "platform/error.h"

namespace vmu {

namespace {

std::array<std::uint32_t, 256> CrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

}  // namespace

std::string Checksum(std::string_view bytes) {
  static const std::array<std::uint32_t, 256> table = CrcTable();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char b : bytes) crc = table[(crc ^ static_cast<unsigned char>(b)) & 0xFF] ^ (crc >> 8);
  crc ^= 0xFFFFFFFFu;
  static const char digits[] = "0123456789ABCDEF";
  std::string text(8, '0');
  for (int i = 7; i >= 0; --i, crc >>= 4) text[i] = digits[crc & 15];
  return text;
}

std::string ChecksumLine(std::string_view body, const std::string& key) { return key + "=" + Checksum(body) + "\r\n"; }

std::string_view CheckedBody(std::string_view bytes, const std::string& key) {
  const std::size_t start = bytes.size() < 2 ? 0 : bytes.rfind('\n', bytes.size() - 2) + 1;
  const std::string_view body = bytes.substr(0, start);
  const std::string_view last = bytes.substr(start);
  if (last != ChecksumLine(body, key)) {
    int number = 1;
    for (const char c : body) number += c == '\n';
    RefuseLine(number, last.empty() ? "einde van het bestand" : last);
  }
  return body;
}

void RefuseLine(int number, std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  throw VbError(kTypeMismatch, "regel " + std::to_string(number) + " (" + std::string(line) + ")");
}

}  // namespace vmu
