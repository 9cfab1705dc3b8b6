// The maintenance report that lists, for every table the control table
// names, its field names in the old and in the new database.
#pragma once

#include "conversion/conversion_display.h"
#include "conversion/conversion_settings.h"
#include "files/conversion_log.h"
#include "platform/database.h"

namespace vmu {

// Opens the three databases of the settings for reading only and writes the
// field lists to the log; changes no data. Its messages (before, done, or a
// failure's description) are shown on the display. A failure closes the
// connections opened so far; one that is not one of the host's errors goes
// on to the caller.
void CompareTables(const ConversionSettings& settings, Databases* databases, ConversionLog& log,
                   ConversionDisplay& display);

}  // namespace vmu
