// Writes packages: the unpacker program followed by a sealed zip archive.
#pragma once

#include <string>
#include <vector>

#include "tools/pack/source_check.h"

namespace vmu::pack {

// Writes the package of `files` without checking them (CheckSourceFolder
// does that). The output appears whole or not at all: it is written under
// a temporary name beside it and renamed at the end.
void WritePackage(const std::string& unpacker, const std::vector<SourceFile>& files, const std::string& output);

}  // namespace vmu::pack
