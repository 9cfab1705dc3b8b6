// vmu-pack's signing commands: --keygen, --sign, --verify, --minisig.
#pragma once

#include <string>

namespace vmu::pack {

// The exit status of a signing command, or -1 when the arguments name none.
// old_db: the sample database that signing a source folder checks its
// conversion on (source_check.h), or empty.
int RunSigningCommand(int argc, char** argv, const std::string& old_db = "");

extern const char* const kSigningUsage;

}  // namespace vmu::pack
