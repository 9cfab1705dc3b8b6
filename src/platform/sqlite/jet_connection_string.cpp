#include "platform/sqlite/jet_connection_string.h"

#include "platform/ascii.h"
#include "platform/sqlite/sqlite_error.h"

namespace vmu {

namespace {

std::string Trim(const std::string& text) { return std::string(TrimBlanks(text)); }

}  // namespace

std::string DataSourceOf(const std::string& connection_string) {
  std::string lower = AsciiLower(connection_string);
  // "Data Source" as a key: at the start or after ';', blanks allowed around.
  for (size_t at = lower.find("data source"); at != std::string::npos; at = lower.find("data source", at + 1)) {
    size_t before = lower.find_last_not_of(" \t", at == 0 ? std::string::npos : at - 1);
    if (at != 0 && before != std::string::npos && lower[before] != ';') continue;
    size_t equals = lower.find_first_not_of(" \t", at + 11);
    if (equals == std::string::npos || lower[equals] != '=') continue;
    size_t end = connection_string.find(';', equals + 1);
    std::string path =
        Trim(connection_string.substr(equals + 1, end == std::string::npos ? std::string::npos : end - equals - 1));
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = Trim(path.substr(1, path.size() - 2));
    if (path.empty()) break;
    return path;
  }
  RaiseDatabaseError("no Data Source in the connection string");
}

}  // namespace vmu
