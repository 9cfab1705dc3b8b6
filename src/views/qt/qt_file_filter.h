// The file dialog's filter: the Windows form ("Description|pattern" pairs
// joined by "|", patterns separated by ";") in the form Qt's dialog takes.
#pragma once

#include <QStringList>
#include <string>

namespace vmu {

// "Velmora update files (*.VMU)|*.VMU" -> {"Velmora update files (*.VMU)"}.
// A description that does not end with its patterns in parentheses gets them
// put there (replacing what the description had in its last parentheses),
// since Qt reads the patterns from there. "*.*" becomes "*", which
// is what it means on Windows (every name, with or without a dot).
QStringList QtNameFilters(const std::string& windows_filter);

}  // namespace vmu
