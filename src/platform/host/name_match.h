// File names compare the way the Windows file system compares them: without
// regard to letter case.
#pragma once

#include <string>
#include <string_view>

namespace vmu {

// The name with its letters folded to lower case (ASCII and the letters of
// Windows-1252), as characters; bytes that are no valid UTF-8 stay one each.
std::u32string FoldedName(std::string_view name);

bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// FoldedName(name) == folded, without building the folded name: the test a
// folder listing runs for every entry.
bool MatchesFolded(std::string_view name, const std::u32string& folded);

// WildcardMatch of names already folded: a listing folds each name once.
bool FoldedWildcardMatch(const std::u32string& folded_pattern, const std::u32string& folded_name);

}  // namespace vmu
