#include "tools/pack/source_check.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <map>

#include "package/bare_name.h"
#include "package/file_list.h"
#include "package/manifest_keys.h"
#include "package/package_files.h"
#include "package/reserved_names.h"
#include "platform/host/name_match.h"
#include "tools/pack/conversion_check.h"
#include "tools/pack/file_io.h"
#include "tools/pack/manifest.h"

namespace vmu::pack {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::vector<std::string> NamesOf(const std::vector<SourceFile>& files) {
  std::vector<std::string> names;
  for (const SourceFile& file : files) names.push_back(file.name);
  return names;
}

// Two names that differ only in case would overwrite each other in the
// wizard's world, and the unpacker refuses such a package.
void CheckCaseClashes(const std::string& folder, const std::vector<SourceFile>& files, SourceCheck& check) {
  std::map<std::u32string, std::string> seen;
  for (const SourceFile& file : files) {
    auto [it, added] = seen.emplace(FoldedName(file.name), file.name);
    if (!added)
      check.problems.push_back(folder + ": " + Quoted(it->second) + " and " + Quoted(file.name) +
                               " differ only in letter case; keep one of them");
  }
}

// Returns the name of the file the conversion makes in the update folder
// (the manifest's "ConvOldfile" when Convert=1), which the list may name
// although the package does not carry it.
std::string CheckManifest(const std::string& folder, const std::vector<std::string>& names, const std::string& old_db,
                          SourceCheck& check) {
  const std::string content = ReadWholeFile(folder + "/" + check.manifest);
  const std::string& m = check.manifest;
  for (const package::ManifestKey& key : package::kManifestKeys) {
    if (!key.number) continue;
    const auto value = ManifestValue(content, key.name);
    if (value && !package::ReadWholeNumber(*value, *key.number).ok())
      check.problems.push_back(m + ": [Main] " + key.name + "=" + Quoted(*value) + " is not a whole number from " +
                               std::to_string(key.number->low) + " to " + std::to_string(key.number->high) +
                               "; correct the value or remove the key");
  }
  for (const package::ManifestKey& key : {package::key::kVer, package::key::kVerLow})
    if (!ManifestValue(content, key.name))
      check.warnings.push_back(m + ": [Main] has no " + key.name +
                               ", so the wizard refuses this package on every installation");

  const auto convert = ManifestValue(content, package::key::kConvert.name);
  if (!convert) return "";
  const package::WholeNumber convert_flag = package::ReadWholeNumber(*convert, *package::key::kConvert.number);
  if (!convert_flag.ok() || convert_flag.value != 1) return "";
  // The user's own database ("ConvOldfile") is not part of the package.
  std::vector<std::string> databases;
  for (const package::ManifestKey& key : {package::key::kConvNewfile, package::key::kConvDatabase}) {
    const std::string value = ManifestValue(content, key.name).value_or("");
    const std::string what = m + ": Convert=1 but " + key.name + " ";
    if (value.empty()) check.problems.push_back(what + "names no file; name the database or set Convert=0");
    else if (auto problem = package::NameProblem(value))
      check.problems.push_back(what + Quoted(value) + " " + *problem + "; name a file of the package itself");
    else if (auto found = FindName(names, value)) databases.push_back(folder + "/" + *found);
    else
      check.problems.push_back(what + Quoted(value) + " is not in " + folder + "; add the database or set Convert=0");
  }
  if (databases.size() == 2) {
    const ConversionCheck conversion = CheckConversion(
        {databases[0], databases[1], old_db, ManifestValue(content, package::key::kConvFromVer.name).value_or(""),
         ManifestValue(content, package::key::kConvToVer.name).value_or("")});
    check.problems.insert(check.problems.end(), conversion.problems.begin(), conversion.problems.end());
    check.warnings.insert(check.warnings.end(), conversion.warnings.begin(), conversion.warnings.end());
  }
  return ManifestValue(content, package::key::kConvOldfile.name).value_or("");
}

}  // namespace

void CheckFileList(std::string_view bytes, const std::string& list_name, const std::string& folder,
                   const std::vector<std::string>& names, const std::string& converted, SourceCheck& check) {
  const package::FileList list = package::ParseFileList(bytes);
  const auto unreadable = [&](int line, const std::string& what) {
    check.problems.push_back(list_name + " line " + std::to_string(line) + ": " + what +
                             "; write one entry per line: \"NAME\",LOCATION");
  };
  if (list.unclosed_quote_line) unreadable(list.unclosed_quote_line, "a quote is not closed");
  if (list.lone_name) unreadable(list.lone_name->line, Quoted(list.lone_name->name) + " has no location code");
  std::map<std::pair<std::u32string, long long>, int> listed;  // -> first line
  for (const package::FileListEntry& entry : list.entries) {
    const std::string where = list_name + " line " + std::to_string(entry.line) + ": ";
    if (auto problem = package::NameProblem(entry.name)) {
      check.problems.push_back(where + Quoted(entry.name) + " " + *problem + "; list bare file names only");
      continue;
    }
    const bool made_by_conversion = !converted.empty() && FoldedName(entry.name) == FoldedName(converted);
    if (!made_by_conversion && !FindName(names, entry.name)) {
      check.problems.push_back(where + Quoted(entry.name) + " is not in " + folder +
                               (entry.name[0] == '.' ? " (files whose names start with a dot are not packed)" : "") +
                               "; add the file or remove the entry");
    }
    const package::WholeNumber location = package::ReadLocation(entry);
    if (!location.ok()) {
      check.problems.push_back(where + "the location " + Quoted(entry.location) + " of " + Quoted(entry.name) +
                               " is not a number from 0 to 255; use 1 (program folder) or 2 (data folder)");
      continue;
    }
    if (package::IsInstalledLocation(location.value) && package::IsReservedName(entry.name)) {
      check.problems.push_back(where + Quoted(entry.name) +
                               " is the name of one of the update wizard's own files or folders; the wizard refuses "
                               "to install it");
      continue;
    }
    if (!package::IsInstalledLocation(location.value)) {
      check.warnings.push_back(where + Quoted(entry.name) + " has location " + std::to_string(location.value) +
                               ": the wizard passes it over (1 = program folder, 2 = data folder)");
      continue;
    }
    // Installing the same target twice would move the first new copy into
    // the backup folder, where the old version already is: the install fails.
    auto [it, added] = listed.emplace(std::make_pair(FoldedName(entry.name), location.value), entry.line);
    if (!added)
      check.problems.push_back(where + Quoted(entry.name) + " is listed for location " +
                               std::to_string(location.value) + " already on line " + std::to_string(it->second) +
                               "; remove one of the entries");
  }
}

std::vector<SourceFile> PackageFiles(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) RaiseErrno("cannot read the folder", folder);
  std::vector<SourceFile> files;
  errno = 0;
  while (const dirent* item = ::readdir(dir)) {
    const std::string name = item->d_name;
    if (name.empty() || name[0] == '.') continue;
    const std::string path = folder + "/" + name;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
      files.push_back({name, path, static_cast<uint64_t>(st.st_size)});
    errno = 0;
  }
  const int read_error = errno;
  ::closedir(dir);
  if (read_error != 0) {
    errno = read_error;
    RaiseErrno("cannot read the folder", folder);
  }
  std::sort(files.begin(), files.end(), [](const SourceFile& a, const SourceFile& b) { return a.name < b.name; });
  return files;
}

SourceCheck CheckSourceFolder(const std::string& folder, const std::string& old_db) {
  SourceCheck check;
  check.files = PackageFiles(folder);
  const std::vector<std::string> names = NamesOf(check.files);
  CheckCaseClashes(folder, check.files, check);

  std::string converted;
  if (auto manifest = FindManifest(names)) {
    check.manifest = *manifest;
    converted = CheckManifest(folder, names, old_db, check);
  } else {
    check.problems.push_back(folder + ": no manifest; add " + package::kManifestName + " (or the older " +
                             package::kOldManifestName + ")");
  }

  if (auto list_name = FindName(names, package::kFileListName))
    CheckFileList(ReadWholeFile(folder + "/" + *list_name), *list_name, folder, names, converted, check);
  else
    check.problems.push_back(folder + ": " + package::kFileListName + " is missing; add the list of files to install");
  return check;
}

}  // namespace vmu::pack
