// The delete pass empties tables in OrderDelete order. Where the new
// database enforces foreign keys, emptying a table while a table whose
// foreign key references it still has rows fails, so each referencing table
// must come first.
#pragma once

#include <string>
#include <vector>

namespace vmu::pack {

struct EmptiedTable {
  std::string tabelnaam;                // the control row, and the table it empties
  std::vector<std::string> references;  // the tables its foreign keys reference
};

// `emptied`: the rows with DeleteTarget, in OrderDelete order. One warning
// for each table emptied before a table that references it; each line
// starts with `where` and names both rows.
std::vector<std::string> DeleteOrderWarnings(const std::vector<EmptiedTable>& emptied, const std::string& where);

}  // namespace vmu::pack
