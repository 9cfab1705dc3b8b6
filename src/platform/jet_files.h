// The Jet engine's database files (Jet 3, Jet 4, Access 2007+), the files a
// user brings from the Windows edition. The conversion never opens one
// directly: it reads a SQLite copy of every table, made here.
#pragma once

#include <string>
#include <string_view>

namespace vmu {

enum class DatabaseFormat { kSqlite, kJet3, kJet4, kAce, kUnknown, kMissing };

inline bool IsJet(DatabaseFormat f) {
  return f == DatabaseFormat::kJet3 || f == DatabaseFormat::kJet4 || f == DatabaseFormat::kAce;
}

// What a file's first bytes (32 are enough) say it is. An empty file is an
// empty SQLite database, as SQLite itself takes it.
DatabaseFormat FormatOfHeader(std::string_view first_bytes);

struct JetCopyOutcome {
  enum class Kind {
    kCopied,      // every table is in the SQLite file
    kEncrypted,   // the pages are encrypted with a password: nothing is written
    kUnreadable,  // damaged, or not a Jet file after all: nothing is written
  };
  Kind kind = Kind::kCopied;
  std::string detail;  // why it could not be read, in the reader's words
  long tables = 0;
  long rows = 0;
};

class JetFiles {
 public:
  virtual ~JetFiles() = default;
  // The format of the file at a Windows path; kMissing when there is none.
  virtual DatabaseFormat FormatOf(const std::string& path) = 0;
  // Copies every user table of the Jet file into a new SQLite file (which
  // must not exist), row by row without holding a table in memory. The Jet
  // file is opened for reading only. When it cannot be read the SQLite file
  // is removed again; a failure to write it (a full disk) raises.
  virtual JetCopyOutcome CopyToSqlite(const std::string& jet_path, const std::string& sqlite_path) = 0;
  // Removes such a copy; nothing when it is not there. Never raises.
  virtual void RemoveCopy(const std::string& sqlite_path) = 0;
};

}  // namespace vmu
