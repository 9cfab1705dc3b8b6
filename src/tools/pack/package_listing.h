// What `vmu-pack --list` shows of a package.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vmu::pack {

struct PackageListing {
  struct File {
    std::string name;
    uint64_t size = 0;
  };
  std::vector<File> files;
  std::string manifest_name;  // empty when the package has none
  std::string manifest;       // its bytes
};

// The package's files and manifest, after checking its seal. Raises PackError.
PackageListing ListPackage(const std::string& package);

}  // namespace vmu::pack
