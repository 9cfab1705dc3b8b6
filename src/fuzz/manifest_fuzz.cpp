// The manifest as vmu-pack judges it and as the wizard reads it at step 3.
// The wizard reads each key as vmu-pack does (so what vmu-pack lets through
// reads without error), writing a missing key's default does not change
// what the other keys read, and the next visit reads the same and writes
// nothing.
#include <string>
#include <vector>

#include "files/utility.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/memory_file.h"
#include "package/manifest_keys.h"
#include "tools/pack/manifest.h"

using vmu::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string content(vmu::fuzz::Bytes(data, size));
  const std::string path = "C:\\update\\installatieV2.ini";
  vmu::fuzz::MemoryFile fs(path, content);

  std::vector<std::string> first;
  for (const vmu::package::ManifestKey& key : vmu::package::kManifestKeys) {
    const std::string value = vmu::ReadIniAt(fs, path, vmu::package::kManifestSection, key.name, key.default_value);
    Require(value == vmu::pack::ManifestValue(content, key.name).value_or(key.default_value),
            "the wizard reads what vmu-pack judged");
    first.push_back(value);
  }
  const std::string visited = fs.bytes();
  std::size_t i = 0;
  for (const vmu::package::ManifestKey& key : vmu::package::kManifestKeys) {
    const std::string value = vmu::ReadIniAt(fs, path, vmu::package::kManifestSection, key.name, key.default_value);
    Require(value == first[i++], "the next visit reads the same");
  }
  Require(fs.bytes() == visited, "the next visit writes nothing");
  return 0;
}
