// The Jet files made by Access that the tests read, kept compressed.
#pragma once

#include <string>

namespace vmu::testing {

// The bytes of src/platform/mdb/testdata/<name>.gz, uncompressed.
std::string JetTestFile(const std::string& name);

}  // namespace vmu::testing
