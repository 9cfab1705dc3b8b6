// The maintenance report that lists, for every table the control table
// names, its field names in the old and in the new database.
#pragma once

namespace vmu {

class FrmConversie;

// Writes the field lists to the log; changes no data. A failure shows its
// description and closes the connections opened so far.
void CmdCompareTables_Click(FrmConversie& form);

}  // namespace vmu
