// What the transfer did with one control row: for the dry run of a
// package's conversion and for measurements.
#pragma once

#include <string>

namespace vmu {

struct TableCopy {
  std::string tabelnaam;
  long rows_read = 0;
  long rows_written = 0;
  bool set_based = false;       // one statement in the engine; otherwise row by row
  std::string row_path_reason;  // why not set-based, when the engine said
  double seconds = 0;
};

}  // namespace vmu
