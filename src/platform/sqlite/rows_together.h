// Whether rows may go into a table several in one INSERT with the result of
// adding them one at a time. An INSERT that fails undoes only itself, so a
// failing group can be added again row by row; what the group would change
// besides is ruled out: a conflict clause other than ABORT (FAIL keeps part
// of the group), a foreign key (checked at the end of each statement, so a
// row could see a later row of its group), and a trigger or virtual table.
#pragma once

#include <string>

#include "platform/sqlite/sqlite_session.h"

namespace vmu {

// False as well when the engine cannot say.
bool RowsGoInTogether(SqliteSession& session, const std::string& schema, const std::string& table);

}  // namespace vmu
