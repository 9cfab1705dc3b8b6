// vmu-pack --try-conversion: runs a package's conversion on a copy of a
// user's database, for package makers and support staff, without the wizard.
#pragma once

#include <iosfwd>
#include <string>

namespace vmu::pack {

// Copies the package (a package file, unpacked, or a source folder) into a
// temporary folder, with old_db linked there (read only, when SQLite would
// write nothing beside it) or copied, runs the conversion there and removes
// the folder; neither given file is changed. Prints what the conversion shows
// and then, per control row, the rows read and written, the way they went
// and the time; a failure ends with the text the wizard would show. Returns
// the exit status: 0 only when the conversion succeeded. Raises PackError
// when the package or database cannot be read.
int TryConversion(const std::string& package, const std::string& old_db, std::ostream& out);

}  // namespace vmu::pack
