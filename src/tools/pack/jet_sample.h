// The old databases vmu-pack is given may be Jet files from the Windows
// edition: it reads them as the conversion does, through a SQLite copy.
#pragma once

#include <ostream>
#include <string>

namespace vmu::pack {

// A database to read: the file itself when it is SQLite; for a Jet file a
// SQLite copy in a temporary folder, removed with this object. Raises a
// PackError when the file is neither or cannot be read.
class SampleDatabase {
 public:
  explicit SampleDatabase(const std::string& host_path);
  ~SampleDatabase();
  SampleDatabase(const SampleDatabase&) = delete;
  SampleDatabase& operator=(const SampleDatabase&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string folder_;  // the copy's temporary folder
};

// vmu-pack --jet-to-sqlite JET_DB OUT: the copy the conversion would read.
int JetToSqlite(const std::string& jet_db, const std::string& out_db, std::ostream& out);

// vmu-pack --tables DATABASE: every table with its columns and their
// declared types, as the conversion sees them.
int ListTables(const std::string& database, std::ostream& out);

}  // namespace vmu::pack
