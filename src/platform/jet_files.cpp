#include "platform/jet_files.h"

namespace vmu {

DatabaseFormat FormatOfHeader(std::string_view h) {
  if (h.empty()) return DatabaseFormat::kSqlite;
  if (h.substr(0, 16) == std::string_view("SQLite format 3\0", 16)) return DatabaseFormat::kSqlite;
  // Page 0 of a Jet file: four bytes, the engine's signature, then at 0x14
  // the version: 0 for Jet 3, 1 for Jet 4, 2 and up for Access 2007 and later.
  if (h.size() < 0x15) return DatabaseFormat::kUnknown;
  const std::string_view signature = h.substr(4, 16);
  const unsigned char version = static_cast<unsigned char>(h[0x14]);
  if (signature == std::string_view("Standard Jet DB\0", 16)) {
    if (version == 0) return DatabaseFormat::kJet3;
    if (version == 1) return DatabaseFormat::kJet4;
  }
  if (signature == std::string_view("Standard ACE DB\0", 16) && version >= 2) return DatabaseFormat::kAce;
  return DatabaseFormat::kUnknown;
}

}  // namespace vmu
