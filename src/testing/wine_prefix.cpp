#include "testing/wine_prefix.h"

#include <filesystem>
#include <utility>
#include <vector>

namespace vmu::testing {

namespace fs = std::filesystem;

namespace {

// A registry text value: backslashes and quotes escaped.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string Header(const std::string& relative_to) {
  return "WINE REGISTRY Version 2\n;; All keys relative to " + relative_to + "\n\n#arch=win64\n";
}

std::string Key(const std::string& path, const std::vector<std::pair<std::string, std::string>>& values) {
  std::string escaped;
  for (char c : path) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  std::string text = "\n[" + escaped + "] 1700000000\n#time=1da1c2b3d4e5f60\n";
  for (const auto& [name, value] : values) {
    // Values of other types, as wineboot writes them, which a reader passes over.
    if (value.rfind("str(2):", 0) == 0 || value.rfind("dword:", 0) == 0 || value.rfind("hex", 0) == 0)
      text += Quoted(name) + "=" + value + "\n";
    else text += Quoted(name) + "=" + Quoted(value) + "\n";
  }
  return text;
}

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace

WinePrefix::WinePrefix(WinePrefixLayout layout) : prefix_(dir_.Sub("wine")), layout_(std::move(layout)) {
  MakeFolders();
  WriteRegistry();
}

void WinePrefix::MakeFolders() {
  const std::string c = prefix_ + "/drive_c";
  const std::string profile = c + "/users/" + layout_.user;
  for (const std::string& folder :
       {c + "/windows/system32", c + "/windows/syswow64", c + "/windows/Fonts", c + "/Program Files/Common Files",
        c + "/Program Files (x86)/Common Files", c + "/ProgramData", c + "/users/Public/Documents",
        profile + "/AppData/Roaming", profile + "/AppData/Local", profile + "/Favorites"})
    fs::create_directories(folder);
  // The user's own folders are links into the home folder, as wineboot makes them.
  for (const char* name : {"Desktop", "Documents", "Downloads", "Music", "Pictures", "Templates", "Videos"}) {
    fs::create_directories(home() + "/" + name);
    fs::create_directory_symlink(home() + "/" + name, profile + "/" + name);
  }
  fs::create_directories(prefix_ + "/dosdevices");
  fs::create_directory_symlink("../drive_c", prefix_ + "/dosdevices/c:");
  fs::create_directory_symlink("/", prefix_ + "/dosdevices/z:");
  for (const auto& [letter, name] : layout_.extra_drives) {
    fs::create_directories(dir_.Sub(name));
    fs::create_directory_symlink(dir_.Sub(name), prefix_ + "/dosdevices/" + std::string(1, letter) + ":");
  }
  WriteHostFile(prefix_ + "/.update-timestamp", "1700000000\n");
}

void WinePrefix::WriteRegistry() {
  const std::string profile = "C:\\users\\" + layout_.user;
  std::vector<std::pair<std::string, std::string>> shell_folders = {
      {"AppData", profile + "\\AppData\\Roaming"},
      {"Cache", profile + "\\AppData\\Local\\Microsoft\\Windows\\INetCache"},
      {"Cookies", profile + "\\AppData\\Local\\Microsoft\\Windows\\INetCookies"},
      {"Desktop", profile + "\\Desktop"},
      {"Favorites", profile + "\\Favorites"},
      {"Fonts", "C:\\windows\\Fonts"},
      {"History", profile + "\\AppData\\Local\\Microsoft\\Windows\\History"},
      {"Local AppData", profile + "\\AppData\\Local"},
      {"My Music", profile + "\\Music"},
      {"My Pictures", profile + "\\Pictures"},
      {"My Videos", profile + "\\Videos"},
      {"Personal", profile + "\\Documents"},
      {"Programs", profile + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
      {"Recent", profile + "\\AppData\\Roaming\\Microsoft\\Windows\\Recent"},
      {"SendTo", profile + "\\AppData\\Roaming\\Microsoft\\Windows\\SendTo"},
      {"Start Menu", profile + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"},
      {"Startup", profile + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp"},
      {"Templates", profile + "\\AppData\\Roaming\\Microsoft\\Windows\\Templates"}};
  for (auto& [name, value] : shell_folders)
    if (const auto it = layout_.relocated.find(name); it != layout_.relocated.end()) value = it->second;

  WriteHostFile(prefix_ + "/user.reg",
                Header("\\\\User\\\\S-1-5-21-0-0-0-1000") +
                    Key("Control Panel\\International", {{"Locale", "00000413"}, {"sDecimal", ","}}) +
                    Key(kShellFolders, shell_folders) +
                    Key("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                        {{"AppData", "str(2):\"%USERPROFILE%\\\\AppData\\\\Roaming\""},
                         {"Personal", "str(2):\"%USERPROFILE%\\\\Documents\""}}) +
                    Key("Volatile Environment", {{"USERNAME", layout_.user}}));

  const std::vector<std::pair<std::string, std::string>> current_version = {
      {"CommonFilesDir", "C:\\Program Files\\Common Files"},
      {"DevicePath", "str(2):\"%SystemRoot%\\\\inf\""},
      {"ProgramFilesDir", "C:\\Program Files"},
      {"ProgramFilesPath", "str(2):\"%ProgramFiles%\""},
      {"CommonFilesDir (x86)", "C:\\Program Files (x86)\\Common Files"},
      {"ProgramFilesDir (x86)", "C:\\Program Files (x86)"},
      {"ProgramW6432Dir", "C:\\Program Files"}};
  std::string system = Header("\\\\Machine") + Key("Software\\Microsoft\\Windows\\CurrentVersion", current_version) +
                       Key(kShellFolders, {{"Common AppData", "C:\\ProgramData"},
                                           {"Common Desktop", "C:\\users\\Public\\Desktop"},
                                           {"Common Documents", "C:\\users\\Public\\Documents"}});
  system += Key(
      "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion",
      {{"CommonFilesDir", "C:\\Program Files (x86)\\Common Files"}, {"ProgramFilesDir", "C:\\Program Files (x86)"}});
  WriteHostFile(prefix_ + "/system.reg", system);
  WriteHostFile(prefix_ + "/userdef.reg", Header("\\\\User\\\\.Default"));
}

std::string WinePrefix::Host(const std::string& windows_path) const { return DriveMap(prefix_).ToHost(windows_path); }

}  // namespace vmu::testing
