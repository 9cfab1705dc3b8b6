// Where vmu-pack and vmupdate-demo find the unpacker that heads every package.
#pragma once

#include <string>

namespace vmu::pack {

// The unpacker for the program at `program_path`: beside it, as in the build
// tree, else at its installed place relative to it
// (<bindir>/../libexec/vmupdate/vmu-unpacker). When neither exists, the
// installed place, so that the error names where it should be.
std::string FindUnpacker(const std::string& program_path);

// The same for this program.
std::string FindUnpacker();

}  // namespace vmu::pack
