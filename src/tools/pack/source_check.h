// What vmu-pack checks in a source folder before it makes a package, so
// that a package it makes can be installed by the wizard.
#pragma once

#include <cstdint>
#include <string>
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

SourceCheck CheckSourceFolder(const std::string& folder);

}  // namespace vmu::pack
