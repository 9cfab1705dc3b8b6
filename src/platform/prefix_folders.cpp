#include "platform/prefix_folders.h"

#include <initializer_list>

namespace vmu {

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kCurrentVersion32 = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion";

struct Named {
  const char* name;
  std::initializer_list<int> numbers;
};

// The value names Windows uses in the per-user "Shell Folders" key.
const Named kUserFolders[] = {
    {"Desktop", {0x00, 0x10}}, {"Programs", {0x02}},    {"Personal", {0x05}},
    {"Favorites", {0x06}},     {"Startup", {0x07}},     {"Recent", {0x08}},
    {"SendTo", {0x09}},        {"Start Menu", {0x0B}},  {"My Music", {0x0D}},
    {"My Videos", {0x0E}},     {"NetHood", {0x13}},     {"Fonts", {0x14}},
    {"Templates", {0x15}},     {"AppData", {0x1A}},     {"PrintHood", {0x1B}},
    {"Local AppData", {0x1C}}, {"Cache", {0x20}},       {"Cookies", {0x21}},
    {"History", {0x22}},       {"My Pictures", {0x27}}, {"Administrative Tools", {0x30}},
    {"CD Burning", {0x3B}},
};

// And in the machine-wide one.
const Named kCommonFolders[] = {
    {"Common Start Menu", {0x16}}, {"Common Programs", {0x17}},  {"Common Startup", {0x18}},
    {"Common Desktop", {0x19}},    {"Common Favorites", {0x1F}}, {"Common AppData", {0x23}},
    {"Common Templates", {0x2D}},  {"Common Documents", {0x2E}}, {"Common Administrative Tools", {0x2F}},
    {"CommonMusic", {0x35}},       {"CommonPictures", {0x36}},   {"CommonVideo", {0x37}},
    {"OEM Links", {0x3A}},
};

// A folder path as the program hands it on: no trailing backslash but for
// a drive's root.
std::string FolderText(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

void Register(PrefixFolders& folders, std::initializer_list<int> numbers, const std::string* path) {
  if (!path || path->empty()) return;
  for (int number : numbers) folders.registered[number] = FolderText(*path);
}

void RegisterAll(PrefixFolders& folders, const WineRegistry& registry, const Named* first, const Named* last) {
  for (const Named* named = first; named != last; ++named)
    Register(folders, named->numbers, registry.Value(kShellFolders, named->name));
}

const std::string* FirstOf(std::initializer_list<const std::string*> values) {
  for (const std::string* value : values)
    if (value && !value->empty()) return value;
  return nullptr;
}

}  // namespace

PrefixFolders PrefixFoldersFromRegistry(const WineRegistry& user, const WineRegistry& system) {
  PrefixFolders folders;
  const std::string& arch = system.arch.empty() ? user.arch : system.arch;
  folders.arch = arch == "win64" ? PrefixArch::kWin64 : PrefixArch::kWin32;
  RegisterAll(folders, user, std::begin(kUserFolders), std::end(kUserFolders));
  RegisterAll(folders, system, std::begin(kCommonFolders), std::end(kCommonFolders));

  const std::string* program_files = system.Value(kCurrentVersion, "ProgramFilesDir");
  const std::string* common_files = system.Value(kCurrentVersion, "CommonFilesDir");
  if (folders.arch == PrefixArch::kWin64) {
    // The 32-bit view: the Wow6432Node key, else the main key's x86 values.
    const std::string* x86 = system.Value(kCurrentVersion, "ProgramFilesDir (x86)");
    const std::string* common_x86 = system.Value(kCurrentVersion, "CommonFilesDir (x86)");
    Register(folders, {0x26}, FirstOf({system.Value(kCurrentVersion32, "ProgramFilesDir"), x86}));
    Register(folders, {0x2A}, x86);
    Register(folders, {0x2B}, FirstOf({system.Value(kCurrentVersion32, "CommonFilesDir"), common_x86}));
    Register(folders, {0x2C}, common_x86);
    folders.native_program_files =
        program_files && !program_files->empty() ? FolderText(*program_files) : "C:\\Program Files";
  } else {
    Register(folders, {0x26, 0x2A}, program_files);
    Register(folders, {0x2B, 0x2C}, common_files);
  }
  return folders;
}

}  // namespace vmu
