// The manifest names the conversion's database files. They must stay inside
// the data folder and the update folder, so only bare file names are taken.
#pragma once

#include <string>

#include "conversion/conversion_settings.h"

namespace vmu {

// The package's bare-name rule, except that empty text passes: the
// existence checks then refuse it with their own texts.
bool IsEmptyOrBareFileName(const std::string& name);

// The manifest's values behind ConvOldfile (after DataDir), ConvNewfile
// (after UpdateDir) and ConvDatabase; raises 52 when one is not bare.
void CheckDatabaseNames(const ConversionSettings& settings);

}  // namespace vmu
