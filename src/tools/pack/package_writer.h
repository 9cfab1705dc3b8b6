// Writes packages: the unpacker program followed by a sealed zip archive.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/crypto/signing.h"
#include "tools/pack/source_check.h"

namespace vmu::pack {

// Writes the package of `files` without checking them (CheckSourceFolder
// does that), signed with `key` when one is given. The output appears whole
// or not at all: it is written under a temporary name beside it and renamed
// at the end.
void WritePackage(const std::string& unpacker, const std::vector<SourceFile>& files, const std::string& output,
                  const crypto::SecretKey* key = nullptr);

// Runs `write` on a temporary file beside `output`, then makes it the
// output (executable: a package is a program); on failure the temporary
// file goes and the output is untouched.
void WriteThroughTemporary(const std::string& output, const std::function<void(int, const std::string&)>& write);

}  // namespace vmu::pack
