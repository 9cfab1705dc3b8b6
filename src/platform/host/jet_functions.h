// The Jet functions that the control tables' queries use (IIf, Nz, Left,
// Mid, Format, CLng, ...), Jet's Like and Jet's text comparison, registered
// on every SQLite connection. Their results follow Jet; their failures carry
// Jet's messages ("Type mismatch", "Invalid use of Null", ...), which reach
// the user as the engine's message.
#pragma once

struct sqlite3;

namespace vmu {

// Names the SQL translator writes where SQLite cannot parse Jet's own:
// Left and Right are join keywords for SQLite, IsNull an operator, & an
// operator with another meaning.
inline constexpr const char* kJetConcat = "jet_concat";
inline constexpr const char* kJetLeft = "jet_left";
inline constexpr const char* kJetRight = "jet_right";
inline constexpr const char* kJetIsNull = "jet_isnull";
// Text comparison without regard to case.
inline constexpr const char* kJetCollation = "jet_nocase";

// Returns SQLite's result code (SQLITE_OK when every function is there).
int RegisterJetFunctions(sqlite3* db);

}  // namespace vmu
