// The Jet functions that the control tables' queries use (IIf, Nz, Left,
// Mid, Format, CLng, ...), Jet's Like and Jet's text comparison, registered
// on every SQLite connection. Their results follow Jet; their failures carry
// Jet's messages ("Type mismatch", "Invalid use of Null", ...), which reach
// the user as the engine's message.
#pragma once

#include "platform/jet/jet_names.h"

struct sqlite3;

namespace vmu {

// Returns SQLite's result code (SQLITE_OK when every function is there).
int RegisterJetFunctions(sqlite3* db);

}  // namespace vmu
