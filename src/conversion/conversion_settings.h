// What a conversion is told: the package manifest's databases and versions,
// and the folders they lie in. The wizard fills it from its state.
#pragma once

#include <string>

namespace vmu {

struct ConversionSettings {
  std::string ConvOldfile;       // the user's database: DataDir & the manifest's ConvOldfile
  std::string ConvNewfile;       // the package's new database: UpdateDir & ConvNewfile
  std::string ConvDatabase;      // the conversion database's name as the manifest gives it
  std::string ConvDatabasePath;  // UpdateDir & ConvDatabase
  std::string ConvFromVer;       // the version the user's database must have
  std::string ConvToVer;         // the version the new database must have
  std::string DataDir;           // the data folder, ends with a backslash
  std::string UpdateDir;         // the folder the package was unpacked in
  // The manifest's file name inside DataDir & "Update\": the conversion reads
  // ConvOldfile from it again for the name the converted database takes.
  std::string SetupIniName;
  // Copies every table row by row, never in one statement: for comparing
  // the two and for measurements.
  bool rows_one_by_one = false;
};

}  // namespace vmu
