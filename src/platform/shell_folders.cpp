#include "platform/shell_folders.h"

#include "platform/ascii.h"

namespace vmu {

namespace {

// Where a folder lives: the text after this base is fixed per number.
enum class Base { None, Root, Profile, Roaming, Local, Public, ProgramData };

struct Folder {
  Base base;
  const char* rest;
};

// The shell folder numbers, laid out as a 64-bit Wine prefix lays them out.
// Virtual folders (Control Panel, Printers, Network ...) have no path.
Folder FolderFor(int number) {
  switch (number) {
    case 0x00: return {Base::Profile, "\\Desktop"};  // desktop
    case 0x02: return {Base::Roaming, "\\Microsoft\\Windows\\Start Menu\\Programs"};
    case 0x05: return {Base::Profile, "\\Documents"};  // personal
    case 0x06: return {Base::Profile, "\\Favorites"};
    case 0x07: return {Base::Roaming, "\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp"};
    case 0x08: return {Base::Roaming, "\\Microsoft\\Windows\\Recent"};
    case 0x09: return {Base::Roaming, "\\Microsoft\\Windows\\SendTo"};
    case 0x0B: return {Base::Roaming, "\\Microsoft\\Windows\\Start Menu"};
    case 0x0D: return {Base::Profile, "\\Music"};
    case 0x0E: return {Base::Profile, "\\Videos"};
    case 0x10: return {Base::Profile, "\\Desktop"};  // desktop directory
    case 0x13: return {Base::Roaming, "\\Microsoft\\Windows\\Network Shortcuts"};
    case 0x14: return {Base::Root, "\\windows\\Fonts"};
    case 0x15: return {Base::Roaming, "\\Microsoft\\Windows\\Templates"};
    case 0x16: return {Base::ProgramData, "\\Microsoft\\Windows\\Start Menu"};
    case 0x17: return {Base::ProgramData, "\\Microsoft\\Windows\\Start Menu\\Programs"};
    case 0x18: return {Base::ProgramData, "\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp"};
    case 0x19: return {Base::Public, "\\Desktop"};
    case 0x1A: return {Base::Roaming, ""};  // roaming app data
    case 0x1B: return {Base::Roaming, "\\Microsoft\\Windows\\Printer Shortcuts"};
    case 0x1C: return {Base::Local, ""};               // local app data
    case 0x1F: return {Base::Profile, "\\Favorites"};  // common favorites
    case 0x20: return {Base::Local, "\\Microsoft\\Windows\\INetCache"};
    case 0x21: return {Base::Local, "\\Microsoft\\Windows\\INetCookies"};
    case 0x22: return {Base::Local, "\\Microsoft\\Windows\\History"};
    case 0x23: return {Base::ProgramData, ""};  // common app data
    case 0x24: return {Base::Root, "\\windows"};
    case 0x25: return {Base::Root, "\\windows\\system32"};
    case kProgramFilesFolder: return {Base::Root, "\\Program Files"};  // 0x26
    case 0x27: return {Base::Profile, "\\Pictures"};
    case 0x28: return {Base::Profile, ""};  // the profile itself
    case 0x29: return {Base::Root, "\\windows\\syswow64"};
    case 0x2A: return {Base::Root, "\\Program Files (x86)"};
    case 0x2B: return {Base::Root, "\\Program Files\\Common Files"};
    case 0x2C: return {Base::Root, "\\Program Files (x86)\\Common Files"};
    case 0x2D: return {Base::ProgramData, "\\Microsoft\\Windows\\Templates"};
    case 0x2E: return {Base::Public, "\\Documents"};
    case 0x2F: return {Base::ProgramData, "\\Microsoft\\Windows\\Start Menu\\Programs\\Administrative Tools"};
    case 0x30: return {Base::Roaming, "\\Microsoft\\Windows\\Start Menu\\Programs\\Administrative Tools"};
    case 0x35: return {Base::Public, "\\Music"};
    case 0x36: return {Base::Public, "\\Pictures"};
    case 0x37: return {Base::Public, "\\Videos"};
    case 0x38: return {Base::Root, "\\windows\\Resources"};
    case 0x3A: return {Base::ProgramData, "\\OEM Links"};
    case 0x3B: return {Base::Local, "\\Microsoft\\Windows\\Burn\\Burn"};
    default: return {Base::None, ""};
  }
}

// How a prefix made by wineboot differs from the table above for a 32-bit
// program: on 32-bit Windows there is one program-files folder and one system
// folder; on 64-bit Windows a 32-bit program sees the x86 ones.
Folder PrefixFolderFor(int number, PrefixArch arch) {
  const bool win64 = arch == PrefixArch::kWin64;
  switch (number) {
    case 0x26:
    case 0x2A: return {Base::Root, win64 ? "\\Program Files (x86)" : "\\Program Files"};
    case 0x2B:
    case 0x2C: return {Base::Root, win64 ? "\\Program Files (x86)\\Common Files" : "\\Program Files\\Common Files"};
    case 0x29: return {Base::Root, win64 ? "\\windows\\syswow64" : "\\windows\\system32"};
    default: return FolderFor(number);
  }
}

std::string Computed(const Folder& folder, const std::string& user) {
  const std::string profile = "C:\\users\\" + user;
  std::string base;
  switch (folder.base) {
    case Base::None: return "";
    case Base::Root: base = "C:"; break;
    case Base::Profile: base = profile; break;
    case Base::Roaming: base = profile + "\\AppData\\Roaming"; break;
    case Base::Local: base = profile + "\\AppData\\Local"; break;
    case Base::Public: base = "C:\\users\\Public"; break;
    case Base::ProgramData: base = "C:\\ProgramData"; break;
  }
  return base + folder.rest;
}

}  // namespace

std::string SpecialFolder(int number, const std::string& user, const PrefixFolders& prefix) {
  if (prefix.arch == PrefixArch::kUnknown) return Computed(FolderFor(number), user);
  if (const auto it = prefix.registered.find(number); it != prefix.registered.end()) return it->second;
  return Computed(PrefixFolderFor(number, prefix.arch), user);
}

std::string SpecialFolder(int number, const std::string& user) { return SpecialFolder(number, user, {}); }

std::vector<std::string> ProgramFilesFolders(const std::string& user, const PrefixFolders& prefix) {
  std::vector<std::string> folders;
  auto add = [&](const std::string& folder) {
    if (folder.empty()) return;
    for (const std::string& known : folders)
      if (AsciiLower(known) == AsciiLower(folder)) return;
    folders.push_back(folder);
  };
  add(SpecialFolder(kProgramFilesFolder, user, prefix));
  add(SpecialFolder(kProgramFilesX86Folder, user, prefix));
  if (prefix.arch == PrefixArch::kWin64) add(prefix.native_program_files);
  return folders;
}

}  // namespace vmu
