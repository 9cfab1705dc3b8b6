// The database path inside a connection string in the Jet form:
// "PROVIDER=...;Data Source= C:\x\VM_DBv01.mdb; Jet OLEDB:Database Password = ...".
#pragma once

#include <string>

namespace vmu {

// The text after "Data Source=" up to the next ';', without blanks around
// and without one pair of surrounding double quotes. Other parts (the
// provider, the password, which SQLite files do not have) are ignored.
// Raises the database error when the string names no data source.
std::string DataSourceOf(const std::string& connection_string);

}  // namespace vmu
