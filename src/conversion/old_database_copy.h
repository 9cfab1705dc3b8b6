// The user's old database may be a Jet file from the Windows edition. The
// conversion and the report then read a SQLite copy of it, made beside it in
// the data folder and removed when this object goes, whatever the outcome.
// The package's own databases must be SQLite.
#pragma once

#include <optional>
#include <string>

#include "conversion/conversion_settings.h"
#include "files/conversion_log.h"
#include "platform/database.h"

namespace vmu {

class OldDatabaseCopy {
 public:
  explicit OldDatabaseCopy(Databases* databases) : jet_(databases ? databases->Jet() : nullptr) {}
  ~OldDatabaseCopy();
  OldDatabaseCopy(const OldDatabaseCopy&) = delete;
  OldDatabaseCopy& operator=(const OldDatabaseCopy&) = delete;

  // Checks what the three files are and copies a Jet old database. Returns
  // the refusal for the user, or nothing when the old database can be read
  // at Path(). Without a Jet reader every file is taken as SQLite.
  std::optional<std::string> Prepare(const ConversionSettings& settings, ConversionLog& log);
  // The file to open as the old database.
  const std::string& Path() const { return path_; }

 private:
  JetFiles* jet_;
  std::string path_;
  std::string copy_;  // made, to be removed
};

}  // namespace vmu
