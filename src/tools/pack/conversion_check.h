// What vmu-pack checks in a package that converts the user's database: that
// the control table's rows will run on the package's new database and, given
// a sample of the database the conversion starts from, on that one too.
#pragma once

#include <string>
#include <vector>

namespace vmu::pack {

struct ConversionCheckFiles {
  std::string new_db;                    // host path of the package's new database (ConvNewfile)
  std::string control_db;                // host path of the conversion database (ConvDatabase)
  std::string old_db;                    // host path of a sample old database; empty: the new side only
  std::string from_version, to_version;  // ConvFromVer, ConvToVer
};

struct ConversionCheck {
  std::vector<std::string> problems;  // the conversion would fail: no package
  std::vector<std::string> warnings;  // it may fail on some users' data
};

// Every row of TblTabels, in the transfer's order. Each line names the
// database or control row (tabelnaam) and the field it is about.
ConversionCheck CheckConversion(const ConversionCheckFiles& files);

}  // namespace vmu::pack
