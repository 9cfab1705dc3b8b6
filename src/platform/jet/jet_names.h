// Names the SQL translator writes where SQLite cannot parse Jet's own: Left
// and Right are join keywords for SQLite, IsNull an operator, & an operator
// with another meaning. The engine adapter registers functions under them.
#pragma once

namespace vmu {

inline constexpr const char* kJetConcat = "jet_concat";
inline constexpr const char* kJetLeft = "jet_left";
inline constexpr const char* kJetRight = "jet_right";
inline constexpr const char* kJetIsNull = "jet_isnull";
// Text comparison without regard to case.
inline constexpr const char* kJetCollation = "jet_nocase";

}  // namespace vmu
