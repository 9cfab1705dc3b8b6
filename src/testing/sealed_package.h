// Test packages that pass the wizard's check without vmu-pack: a program
// followed by an empty zip archive, sealed as vmu-pack seals it.
#pragma once

#include <string>

namespace vmu::testing {

// A shell script given here must end itself ("exit 0"): the archive follows it.
std::string SealedPackage(const std::string& program);

// A sealed package whose program copies every file of the host folder
// `source` into the host folder `target` and reports them as vmu-pack's
// unpacker does.
std::string CopyingPackage(const std::string& source, const std::string& target);

}  // namespace vmu::testing
