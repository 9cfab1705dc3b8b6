// The three databases a conversion or a comparison report works on, opened
// by it and closed before it returns: the user's database (read only), the
// package's new one and the conversion database with its control table.
#pragma once

#include <memory>

#include "platform/database.h"

namespace vmu {

struct ConversionDatabases {
  std::unique_ptr<Connection> OldConn;
  std::unique_ptr<Connection> NewConn;
  std::unique_ptr<Connection> ConvConn;
  std::unique_ptr<Recordset> OldRecords;
  std::unique_ptr<Recordset> NewRecords;
  std::unique_ptr<Recordset> ControlRecords;
};

}  // namespace vmu
