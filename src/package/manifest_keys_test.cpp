#include "package/manifest_keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vmu::package {
namespace {

TEST(ManifestKeys, EachKeyOnceAndEveryNumericDefaultIsANumberOfItsType) {
  std::set<std::string> names;
  for (const ManifestKey& key : kManifestKeys) {
    EXPECT_TRUE(names.insert(key.name).second) << key.name;
    // A default that failed its own conversion would stop every package without the key.
    if (key.number) {
      EXPECT_TRUE(ReadWholeNumber(key.default_value, *key.number).ok()) << key.name;
    }
  }
}

}  // namespace
}  // namespace vmu::package
