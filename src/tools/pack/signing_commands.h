// vmu-pack's signing commands: --keygen, --sign, --verify, --minisig.
#pragma once

#include <string>

namespace vmu::pack {

// The exit status of a signing command, or -1 when the arguments name none.
// old_db: the sample database that signing a source folder checks its
// conversion on (source_check.h), or empty.
int RunSigningCommand(int argc, char** argv, const std::string& old_db = "");

extern const char* const kSigningUsage;

// Asks for a secret key's password on the terminal without echo; without
// one, reads a line from standard input.
std::string ReadPassword();

}  // namespace vmu::pack
