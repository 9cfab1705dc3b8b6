// Sample update packages for the demo installation, one for each way the
// wizard can take a package.
#pragma once

#include <string>
#include <vector>

#include "tools/demo/demo_keys.h"

namespace vmu {

struct DemoPackage {
  std::string path;         // host path of the .VMU file
  std::string description;  // what the wizard does with it
};

// Writes the source folders under DIR/package-sources/ and the packages
// into DIR/packages/, with `unpacker` at the head of each. The demo
// installation is 01.03.02 / 0005 once start-up has moved its settings.
// With keys, every package is signed by the supplier, and one more, a copy
// of the first signed by the stranger, shows the refusal.
std::vector<DemoPackage> MakeDemoPackages(const std::string& dir, const std::string& unpacker,
                                          const DemoKeys* keys = nullptr);

// Copies the packages into a host folder (the user's documents, where the
// wizard's file dialog opens), replacing earlier copies.
void CopyDemoPackages(const std::vector<DemoPackage>& packages, const std::string& folder);

}  // namespace vmu
