// The conversion's texts for the user, each with its values in place.
#pragma once

#include <string>

namespace vmu {

std::string OldDatabaseMissingText(const std::string& old_file);
std::string ApplicationOpenText();
std::string NewDatabaseMissingMessage();
std::string AlreadyConvertedText(const std::string& to_version);
std::string WrongOldVersionText(const std::string& old_version, const std::string& from_version);
std::string WrongNewVersionText(const std::string& to_version, const std::string& new_version);
std::string ConversionErrorText(const std::string& description);
// The old database is no database the conversion can read; it is an
// encrypted or a damaged Jet file; a database of the package is a Jet file.
std::string OldDatabaseUnknownText(const std::string& old_file);
std::string OldDatabaseEncryptedText(const std::string& old_file);
std::string OldDatabaseDamagedText(const std::string& old_file);
std::string PackageDatabaseIsJetText(const std::string& file);
// Added to the main text before the transfer starts.
std::string ConversionTakesTimeText();

// The connection string for a database file, the same for all three.
std::string ConnectionString(const std::string& path);

}  // namespace vmu
