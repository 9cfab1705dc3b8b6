#include "package/reserved_names.h"

#include <algorithm>
#include <array>

namespace vmu::package {

namespace {

constexpr std::array<std::string_view, 9> kReserved = {
    "ConversieBackup.ini", "UpdateJournaal.txt", "ConversieLog.TXT", "Update.ini",
    ".VM_Update.lock",     "VMU_ZP.exe",         "Update",           "ConversieBackup-1",
    "ConversieBackup-2",
};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace

bool IsReservedName(std::string_view name) {
  return std::any_of(kReserved.begin(), kReserved.end(),
                     [&](std::string_view reserved) { return SameIgnoringCase(name, reserved); });
}

}  // namespace vmu::package
