// Puts an installation back from its backup folders, as a journal says.
#pragma once

#include <string>

#include "files/run_context.h"
#include "files/update_journal.h"

namespace vmu {

// Every replaced file comes back from its backup whole (a copy renamed over
// the installed file, which is never missing meanwhile) with its permission
// bits; every added file goes; "VersionUpdate" gets the journal's value;
// all of it flushed before the journal is removed, last. Logs "Verwijderen "
// and "Kopiëren " lines. Raises at the first failure, with `file` naming the
// file being handled (empty after the files), and the journal stays for
// the next try: running it again finishes the same work.
void RestoreFromJournal(RunContext& ctx, const UpdateJournal& journal, std::string& file);

// Removes what interrupted writes left in the folders an update writes to.
void RemoveLeftovers(RunContext& ctx, const UpdateJournal& journal);

}  // namespace vmu
