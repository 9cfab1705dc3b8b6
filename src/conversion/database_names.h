// The manifest names the conversion's database files. They must stay inside
// the data folder and the update folder, so only bare file names are taken.
#pragma once

#include <string>

#include "conversion/conversion_settings.h"

namespace vmu {

// The package's bare-name rule, except that empty text passes: the
// existence checks then refuse it with their own texts.
bool IsBareFileName(const std::string& name);

// The manifest's values behind ConvOldfile (after DataDir), ConvNewfile
// (after UpdateDir) and ConvDatabase; raises 52 when one is not bare.
void CheckDatabaseNames(const ConversionSettings& settings);

// The lock file the application keeps beside an open database: the name's
// last three characters become "ldb", as Jet has it ("x.mdb" -> "x.ldb");
// Access 2007 and later use "x.laccdb" for "x.accdb".
std::string DatabaseLockFileOf(const std::string& database);

}  // namespace vmu
