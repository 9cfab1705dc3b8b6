#include "tools/demo/demo_packages.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tools/demo/demo_conversion.h"
#include "tools/demo/demo_installation.h"
#include "tools/pack/manifest.h"
#include "tools/pack/pack_test_support.h"
#include "tools/pack/package_listing.h"
#include "tools/pack/source_check.h"
#include "tools/pack/try_conversion.h"

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
  // The update's own number and the conversion's settings are the scenarios' (they install both).
  EXPECT_EQ(value("update-10302-06.VMU", "VerLowUpdate"), "5");
  EXPECT_EQ(value("already-installed.VMU", "VerUpdate"), "5");
  EXPECT_EQ(value("needs-newer.VMU", "VerLow"), "10400");
  EXPECT_EQ(listings.at("old-manifest.VMU").manifest_name, "installatie.ini");
  // vmu-pack checks the shipped databases and accepts the listed converted
  // database, which only comes into being in the update folder.
  EXPECT_TRUE(pack::CheckSourceFolder(dir.Sub("package-sources/update-10302-06-conversie")).problems.empty());
  // The one vmu-pack itself would refuse.
  const auto check = pack::CheckSourceFolder(dir.Sub("package-sources/missing-file"));
  ASSERT_EQ(check.problems.size(), 1u);
  EXPECT_NE(check.problems[0].find("\"Rapporten.dll\" is not in"), std::string::npos);
}

// The demo's conversion, checked and tried on the demo user's database as
// support staff would.
TEST(DemoPackages, TheConversionPassesItsCheckAndTryOnTheDemoDatabase) {
  TempDir dir;
  MakeDemoPackages(dir.path(), BinDir() + "/vmu-unpacker");
  const DemoPaths paths = MakeDemoInstallation(dir.Sub("installation"), "user");
  const std::string old_db = DemoHostPath(paths, paths.virtual_store + kDemoOldDatabase);
  const std::string source = dir.Sub("package-sources/update-10302-06-conversie");

  const pack::SourceCheck check = pack::CheckSourceFolder(source, old_db);
  EXPECT_TRUE(check.problems.empty()) << check.problems.front();
  EXPECT_TRUE(check.warnings.empty()) << check.warnings.front();

  std::ostringstream out;
  EXPECT_EQ(pack::TryConversion(dir.Sub("packages/update-10302-06-conversie.VMU"), old_db, out), 0) << out.str();
  for (const char* line : {"\nTbl_Relaties: 3 rows read, 3 written, one statement, ",
                           "\nTbl_Grootboek: 2 rows read, 2 written, one statement, ", "\nthe conversion succeeds\n"})
    EXPECT_NE(out.str().find(line), std::string::npos) << line << out.str();
}

}  // namespace
}  // namespace vmu
