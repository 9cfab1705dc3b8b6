// Database failures as errors: a number and the engine's own message.
#pragma once

#include <string>

#include "platform/database.h"

struct sqlite3;

namespace vmu {

// The numbers the data provider gave the application for its failures.
// Nothing compares them; the description is what the user sees.
constexpr int kDatabaseError = -2147467259;  // the engine refused: its message says why
constexpr int kNotUpdatable = 3251;          // adding rows to a query's result
constexpr int kFieldNotFound = 3265;         // no field of that name or index
constexpr int kObjectClosed = 3704;          // used after Close

[[noreturn]] void RaiseDatabaseError(const std::string& message, int number = kDatabaseError);

// The engine's message for the last failure on the connection.
std::string EngineMessage(sqlite3* db);

}  // namespace vmu
