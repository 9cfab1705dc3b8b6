// vmu-pack's signing commands: --keygen, --sign, --verify, --minisig.
#pragma once

namespace vmu::pack {

// The exit status of a signing command, or -1 when the arguments name none.
int RunSigningCommand(int argc, char** argv);

extern const char* const kSigningUsage;

}  // namespace vmu::pack
