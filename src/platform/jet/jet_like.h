// Jet's Like: * any run of characters, ? one character, # one digit,
// [abc], [a-z] and [!abc] one character of (not of) a list; letters match
// without regard to case. The % and _ of the ANSI form that Jet's OLE DB
// provider uses mean the same as * and ?, so patterns written for either
// form work.
#pragma once

#include <string_view>

namespace vmu {

// escape, when not 0, makes the next pattern character literal.
bool JetLike(std::string_view text, std::string_view pattern, char32_t escape = 0);

}  // namespace vmu
