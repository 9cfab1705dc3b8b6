// The conversion of the user's database into the one the package ships.
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "conversion/conversion_display.h"
#include "conversion/conversion_settings.h"
#include "conversion/table_copy.h"
#include "files/conversion_log.h"
#include "platform/database.h"
#include "platform/file_system.h"

namespace vmu {

struct ConversionResult {
  enum class Outcome {
    Converted,  // the filled new database lies under the old one's name in the update folder
    Refused,    // a check failed: nothing was written
    Failed,     // an error stopped it; rows written before it stay written
  };
  Outcome outcome = Outcome::Converted;

  // Refused: why, in the user's words, for the result page; or, when
  // as_message is set, for a message box of its own (the result page then
  // keeps its text).
  std::string text;
  bool as_message = false;

  // Failed: the error that stopped it (number 0 for one that is not one of
  // the host's errors).
  int error_number = 0;
  std::string error_description;

  // Refused or failed: whether the wizard's Back and Next stay disabled.
  bool buttons_blocked = false;

  // Refused or failed: an error raised while closing the databases
  // afterwards. The caller shows the outcome first, then raises it.
  std::exception_ptr closing_error;

  // Each control row of the transfer pass that was begun, in order; the
  // last one is where a failure in the transfer happened.
  std::vector<TableCopy> tables;
};

// Checks the database names and files, opens the three databases, checks
// their versions, then runs the transfer the control table describes. Writes
// its log lines to the log and shows its progress on the display. Every
// error (a std::exception) ends in a Failed result; anything else the
// display throws goes on to the caller. Without databases (nullptr) the
// first open fails with error 429. Reads nothing of the wizard.
ConversionResult Convert(const ConversionSettings& settings, FileSystem& fs, Databases* databases, ConversionLog& log,
                         ConversionDisplay& display);

}  // namespace vmu
