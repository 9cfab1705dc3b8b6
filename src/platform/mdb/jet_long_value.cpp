#include "platform/mdb/jet_long_value.h"

namespace vmu {

namespace {

constexpr size_t kReference = 12;  // length and flags, page and row, unused

std::uint32_t Int32(const void* p, size_t at) {
  const auto* b = static_cast<const unsigned char*>(p) + at;
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

}  // namespace

bool ReadLongValue(MdbHandle* mdb, std::string_view field, std::string& out) {
  out.clear();
  if (field.size() < kReference) return field.empty();
  const std::uint32_t length_flags = Int32(field.data(), 0);
  const std::uint32_t length = length_flags & 0x00ffffff;
  std::int32_t pg_row = static_cast<std::int32_t>(Int32(field.data(), 4));
  if (length_flags & 0x80000000) {  // in the row
    out.assign(field.substr(kReference));
    return true;
  }
  void* buf = nullptr;
  int start = 0;
  size_t size = 0;
  if (length_flags & 0x40000000) {  // one row of one other page
    if (mdb_find_pg_row(mdb, pg_row, &buf, &start, &size) != 0) return false;
    out.assign(static_cast<const char*>(buf) + start, size);
    return true;
  }
  if (length_flags & 0xff000000) return false;
  // A chain: each row starts with the page and row of the next. The length
  // bounds it, so that a damaged chain that loops ends.
  out.reserve(length);
  while (pg_row != 0) {
    if (mdb_find_pg_row(mdb, pg_row, &buf, &start, &size) != 0 || size <= 4) return false;
    if (out.size() + size - 4 > length) return false;
    out.append(static_cast<const char*>(buf) + start + 4, size - 4);
    pg_row = static_cast<std::int32_t>(Int32(buf, start));
  }
  return out.size() == length;
}

}  // namespace vmu
