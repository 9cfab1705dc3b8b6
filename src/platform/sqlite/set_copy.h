// The set-based copy: one INSERT ... SELECT on a connection of its own, with
// the source database attached read-only and the destination's attached
// for writing, inside a savepoint.
//
// It runs only where the result is provably what adding the rows one by one
// gives; every other case is left to the row path, which is the reference:
// - the query does not prepare on its own, is more than one statement,
//   changes data, or reads anything but the source database (a table the
//   source lacks would otherwise be found in the destination);
// - a field the query returns has no field of that name in the destination,
//   or matches more than one, or two of them land on the same column (the
//   row path raises at the first row, or keeps the later value);
// - the destination is not a table of the destination database;
// - either database cannot be attached (another text encoding, locked).
// Text columns that SQLite would store numbers in are guarded inside the
// statement: a text that would change stops it, and the row path then
// refuses that row as it always does. Any error inside the statement rolls
// the savepoint back: nothing is written, and the row path runs the table
// again to keep the rows before the failing one and to raise its error.
#pragma once

#include "platform/database.h"
#include "platform/file_system.h"
#include "platform/sqlite/sqlite_session.h"

namespace vmu {

// destination is the session of the database the rows go to; its batch is
// committed first. Raises only what the progress callback raises.
SetCopyOutcome CopyWithOneStatement(FileSystem& fs, SqliteSession& destination, const SetCopy& copy);

}  // namespace vmu
