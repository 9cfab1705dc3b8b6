// The databases a demo package with a database conversion ships: the new
// database in the next layout and the conversion database with the control
// table that says what moves from the user's database into it.
#pragma once

#include <string>

namespace vmu {

// The manifest's file names and versions for that package.
inline constexpr const char* kDemoOldDatabase = "VM_DBv01.mdb";
inline constexpr const char* kDemoNewDatabase = "VM_DBv02new.mdb";
inline constexpr const char* kDemoControlDatabase = "Conversie.mdb";
inline constexpr const char* kDemoFromVersion = "5.2";
inline constexpr const char* kDemoToVersion = "5.3";

// Writes kDemoNewDatabase and kDemoControlDatabase into the host folder.
void WriteDemoConversionDatabases(const std::string& folder);

}  // namespace vmu
