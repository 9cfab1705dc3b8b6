// SQL written for Jet (Access) turned into SQL that SQLite runs with the
// same meaning. The translation works on tokens, so string literals and
// [bracketed] names are never changed inside; anything it does not know
// passes unchanged, so that SQLite's own error message reaches the user.
//
//   DELETE * FROM t           DELETE FROM t
//   [Name], "text"            "Name" (a name), 'text' (a text)
//   #3/1/2026 14:30#          '2026-03-01 14:30:00' (month/day/year, ISO text)
//   x = True, x <> False      x <> 0 (yes/no columns hold 1, Jet's own -1 also counts)
//   True, False elsewhere     1, 0
//   a & b                     jet_concat(a, b): Null counts as "", binds after + and -
//   Left(...), Right(...)     jet_left(...), jet_right(...); IsNull(x) jet_isnull(x)
//   x Mod y                   x % y
//   SELECT TOP n ...          SELECT ... LIMIT n
//   DISTINCTROW               DISTINCT
//   =, <>, <, >, In, Between  compare text without regard to case (COLLATE jet_nocase)
//   ORDER BY, GROUP BY terms  likewise
//
// Like needs no change: the connection replaces SQLite's like() by Jet's.
#pragma once

#include <string>
#include <string_view>

namespace vmu {

std::string TranslateJetSql(std::string_view jet);

}  // namespace vmu
