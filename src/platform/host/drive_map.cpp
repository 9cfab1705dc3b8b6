#include "platform/host/drive_map.h"

#include <limits.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

#include "platform/error.h"

namespace vmu {

namespace {

namespace fs = std::filesystem;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char UpperDrive(char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 0x20 : c); }

// Characters no Windows file name may hold; refusing them here keeps a
// wildcard pattern or a stray NUL from ever becoming a literal host name.
bool ValidComponent(const std::string& part) {
  for (unsigned char c : part) {
    if (c < 0x20) return false;
    switch (c) {
      case '<':
      case '>':
      case ':':
      case '"':
      case '|':
      case '?':
      case '*': return false;
      default: break;
    }
  }
  return true;
}

// Adds the components of rest to parts, folding "." and ".." as Windows does:
// lexically, and never above the drive root.
void AppendComponents(std::vector<std::string>& parts, std::string_view rest) {
  std::size_t pos = 0;
  while (pos <= rest.size()) {
    std::size_t end = pos;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    std::string part(rest.substr(pos, end - pos));
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      if (!ValidComponent(part)) Raise(kBadFileName);
      parts.push_back(std::move(part));
    }
    pos = end + 1;
  }
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// An absolute path without empty, "." or ".." components and no trailing
// slash: what lexically_normal would return unchanged, checked for less.
bool AlreadyNormal(const std::string& path) {
  if (path.empty() || path[0] != '/') return false;
  if (path.size() == 1) return true;
  std::size_t start = 1;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::size_t length = end - start;
    if (length == 0 || (length == 1 && path[start] == '.') ||
        (length == 2 && path[start] == '.' && path[start + 1] == '.'))
      return false;
    start = end + 1;
  }
  return true;
}

std::string Lexical(const std::string& path) {
  if (AlreadyNormal(path)) return path;
  return WithoutTrailingSlash(fs::path(path).lexically_normal().string());
}

// The path with symbolic links resolved as far as it exists.
std::string Canonical(const std::string& path) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(path, ec);
  return ec ? Lexical(path) : WithoutTrailingSlash(canonical.lexically_normal().string());
}

// Length of root when path lies inside it (or is it), else npos.
std::size_t MatchLength(const std::string& path, const std::string& root) {
  if (root == "/") return 1;
  if (path.compare(0, root.size(), root) != 0) return std::string::npos;
  if (path.size() != root.size() && path[root.size()] != '/') return std::string::npos;
  return root.size();
}

std::string CurrentHostFolder() {
  std::error_code ec;
  fs::path cwd = fs::current_path(ec);
  if (ec) Raise(kPathNotFound);
  return cwd.string();
}

struct DriveRootForms {
  std::string lexical;    // as the links spell it
  std::string canonical;  // with symbolic links resolved
};

// Drive X: is the target of <prefix>/dosdevices/x: when that exists; without
// it C: is <prefix>/drive_c and Z: the host root, as in a Wine prefix.
// with_canonical: also resolve the links, which costs a call per component
// of the path; mapping a Windows path needs only the lexical form.
// A drive link as read once: a link's target cannot change without the link
// becoming another file (another inode or change time), so one lstat tells
// whether what was read still holds.
struct KnownLink {
  dev_t dev;
  ino_t ino;
  struct timespec changed;
  std::string lexical;
};

bool Same(const KnownLink& known, const struct stat& st) {
  return known.dev == st.st_dev && known.ino == st.st_ino && known.changed.tv_sec == st.st_ctim.tv_sec &&
         known.changed.tv_nsec == st.st_ctim.tv_nsec;
}

std::optional<DriveRootForms> DriveRootOf(const std::string& prefix, char letter, bool with_canonical = true,
                                          std::optional<KnownLink>* known = nullptr) {
  const char lower = static_cast<char>(UpperDrive(letter) + 0x20);
  const std::string link = prefix + "/dosdevices/" + lower + ":";
  std::string target;
  struct stat st {};
  bool is_link = false;
  if (lstat(link.c_str(), &st) == 0) {
    target = link;
    is_link = S_ISLNK(st.st_mode);
    if (is_link && known && *known && Same(**known, st)) return DriveRootForms{(*known)->lexical, {}};
    if (is_link) {
      std::error_code ec;
      fs::path to = fs::read_symlink(link, ec);
      if (ec) return std::nullopt;
      target = to.is_relative() ? (fs::path(prefix) / "dosdevices" / to).string() : to.string();
    }
  } else if (lower == 'c') {
    target = prefix + "/drive_c";
  } else if (lower == 'z') {
    target.assign(1, '/');  // (not = "/": GCC 12 warns falsely)
  } else {
    return std::nullopt;
  }
  DriveRootForms forms{Lexical(target), with_canonical ? Canonical(target) : std::string()};
  if (known && is_link) *known = KnownLink{st.st_dev, st.st_ino, st.st_ctim, forms.lexical};
  return forms;
}

}  // namespace

struct DriveMap::DriveLinks {
  std::mutex mutex;
  std::array<std::optional<KnownLink>, 26> known;
};

DriveMap::DriveMap(std::string prefix)
    : prefix_(Lexical(fs::absolute(prefix).string())),
      names_(std::make_shared<FolderNames>()),
      links_(std::make_shared<DriveLinks>()) {}

std::string DriveMap::DefaultPrefix() {
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    const passwd* pw = getpwuid(getuid());
    home = pw && pw->pw_dir ? pw->pw_dir : "/";
  }
  return Join(home, ".wine");
}

std::optional<std::string> DriveMap::DriveRoot(char letter) const {
  std::lock_guard<std::mutex> guard(links_->mutex);
  std::optional<DriveRootForms> forms =
      DriveRootOf(prefix_, letter, false, &links_->known[static_cast<std::size_t>(UpperDrive(letter) - 'A')]);
  if (!forms) return std::nullopt;
  return forms->lexical;
}

std::string DriveMap::ToHost(const std::string& windows_path) const {
  const std::string& w = windows_path;
  if (w.empty() || w.find('\0') != std::string::npos) Raise(kBadFileName);
  // \\server\share, \\?\ and \\.\ name nothing this host can reach.
  if (w.size() >= 2 && IsSeparator(w[0]) && IsSeparator(w[1])) Raise(kBadFileName);

  char drive = 0;
  std::vector<std::string> parts;
  std::string_view rest = w;
  const bool has_drive = w.size() >= 2 && w[1] == ':' && IsDriveLetter(w[0]);
  if (has_drive) {
    drive = UpperDrive(w[0]);
    rest = rest.substr(2);
  }
  if (!has_drive || (!rest.empty() && !IsSeparator(rest[0]))) {
    // Relative to the current folder (of the given drive, as on Windows,
    // when the current folder lies on it; else from that drive's root).
    const std::string cwd = ToWindows(CurrentHostFolder());
    if (!has_drive || cwd[0] == drive) {
      drive = cwd[0];
      if (!has_drive && !rest.empty() && IsSeparator(rest[0])) {
        // "\x": the root of the current drive.
      } else {
        AppendComponents(parts, std::string_view(cwd).substr(3));
      }
    }
  }
  AppendComponents(parts, rest);

  const std::optional<std::string> root = DriveRoot(drive);
  if (!root) Raise(kPathNotFound);

  // Most paths are spelled as they exist. When the whole path, or else its
  // folder, exists as spelled, every component up to there would match
  // exactly, so one call answers what a call per component would.
  std::string path = *root;
  std::size_t matched = 0;
  if (!parts.empty()) {
    std::string literal = *root;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) literal = Join(literal, parts[i]);
    const std::string folder = literal;
    literal = Join(literal, parts.back());
    struct stat st;
    if (lstat(literal.c_str(), &st) == 0) return literal;
    if (parts.size() > 1 && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      path = folder;
      matched = parts.size() - 1;
    }
  }
  bool exists = true;
  for (std::size_t i = matched; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    const std::string exact = Join(path, part);
    if (exists) {
      struct stat st;
      if (lstat(exact.c_str(), &st) == 0) {
        path = exact;
        continue;
      }
      if (std::optional<std::string> match = names_->Find(path, part)) {
        path = Join(path, *match);
        continue;
      }
      exists = false;  // nothing below a missing component can exist
    }
    path = exact;
  }
  return path;
}

std::string DriveMap::ToWindows(const std::string& host_path) const {
  std::vector<std::pair<char, DriveRootForms>> drives;
  for (char letter = 'A'; letter <= 'Z'; ++letter)
    if (std::optional<DriveRootForms> forms = DriveRootOf(prefix_, letter)) drives.emplace_back(letter, *forms);

  auto best_for = [&](const std::string& path, char& letter, std::size_t& length) {
    letter = 0;
    length = 0;
    for (const auto& [drive, forms] : drives) {
      // The lexical root lets a path spelled through a link still match.
      for (const std::string* root : {&forms.canonical, &forms.lexical}) {
        const std::size_t n = MatchLength(path, *root);
        if (n != std::string::npos && (letter == 0 || n > length)) {
          letter = drive;
          length = n;
        }
      }
    }
  };

  std::string path = host_path.empty() ? CurrentHostFolder() : host_path;
  if (path[0] != '/') path = Join(CurrentHostFolder(), path);
  path = Lexical(path);
  char letter;
  std::size_t length;
  best_for(path, letter, length);
  if (letter == 0 || letter == 'Z') {
    // The path may reach a drive only through a symbolic link.
    const std::string canonical = Canonical(path);
    char other;
    std::size_t other_length;
    best_for(canonical, other, other_length);
    if (other != 0 && other != 'Z') {
      path = canonical;
      letter = other;
      length = other_length;
    }
  }
  std::string rest;
  if (letter == 0) {
    letter = 'Z';  // outside every drive
    rest = path;
  } else {
    rest = path.substr(length);
  }
  std::replace(rest.begin(), rest.end(), '/', '\\');
  if (rest.empty() || rest[0] != '\\') rest.insert(rest.begin(), '\\');
  return std::string(1, letter) + ":" + rest;
}

}  // namespace vmu
