// What vmu-pack checks in a source folder before it makes a package, so
// that a package it makes can be installed by the wizard.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vmu::pack {

struct SourceFile {
  std::string name;       // as it goes into the package
  std::string host_path;  // where it is read from
  uint64_t size = 0;
};

// The files a package of the folder holds: every regular file of the folder
// itself (links followed), hidden dot files excepted, sorted by name.
// Raises PackError when the folder cannot be read.
std::vector<SourceFile> PackageFiles(const std::string& folder);

struct SourceCheck {
  std::vector<SourceFile> files;
  std::string manifest;               // the manifest's name, empty when missing
  std::vector<std::string> problems;  // one line each: the package must not be made
  std::vector<std::string> warnings;  // one line each: the package may be made
};

// With Convert=1 the conversion is checked as well (conversion_check.h), on
// old_db too when it names a sample of the database it starts from.
SourceCheck CheckSourceFolder(const std::string& folder, const std::string& old_db = "");

// The file list's part of the check, on the list's bytes: `names` are the
// files of `folder`, `converted` the file the conversion makes there (or
// empty). Adds to check.problems and check.warnings.
void CheckFileList(std::string_view bytes, const std::string& list_name, const std::string& folder,
                   const std::vector<std::string>& names, const std::string& converted, SourceCheck& check);

}  // namespace vmu::pack
