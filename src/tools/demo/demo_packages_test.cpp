#include "tools/demo/demo_packages.h"

#include <gtest/gtest.h>

#include "tools/pack/manifest.h"
#include "tools/pack/pack_test_support.h"
#include "tools/pack/package_listing.h"
#include "tools/pack/source_check.h"

namespace vmu {
namespace {

using pack::testing::BinDir;
using vmu::testing::TempDir;

TEST(DemoPackages, EachSampleIsMadeAsDescribed) {
  TempDir dir;
  const std::vector<DemoPackage> made = MakeDemoPackages(dir.path(), BinDir() + "/vmu-unpacker");
  ASSERT_EQ(made.size(), 6u);
  std::map<std::string, pack::PackageListing> listings;
  for (const DemoPackage& package : made)
    listings[package.path.substr(package.path.rfind('/') + 1)] = pack::ListPackage(package.path);

  const auto value = [&](const std::string& package, const std::string& key) {
    return pack::ManifestValue(listings.at(package).manifest, key).value_or("?");
  };
  EXPECT_EQ(value("update-10302-06.VMU", "VerUpdate"), "6");
  EXPECT_EQ(value("update-10302-06.VMU", "VerLowUpdate"), "5");
  EXPECT_EQ(value("already-installed.VMU", "VerUpdate"), "5");
  EXPECT_EQ(value("needs-newer.VMU", "VerLow"), "10400");
  EXPECT_EQ(listings.at("old-manifest.VMU").manifest_name, "installatie.ini");
  EXPECT_EQ(value("update-10302-06-conversie.VMU", "Convert"), "1");
  EXPECT_EQ(value("update-10302-06-conversie.VMU", "ConvFromVer"), "5.2");
  // vmu-pack checks the shipped databases and accepts the listed converted
  // database, which only comes into being in the update folder.
  EXPECT_TRUE(pack::CheckSourceFolder(dir.Sub("package-sources/update-10302-06-conversie")).problems.empty());
  // The one vmu-pack itself would refuse.
  const auto check = pack::CheckSourceFolder(dir.Sub("package-sources/missing-file"));
  ASSERT_EQ(check.problems.size(), 1u);
  EXPECT_NE(check.problems[0].find("\"Rapporten.dll\" is not in"), std::string::npos);
}

}  // namespace
}  // namespace vmu
