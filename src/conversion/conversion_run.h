// Inside the conversion: what one run of it works with. Its connections and
// record sets are made by the run and closed before it returns.
#pragma once

#include <memory>
#include <vector>

#include "conversion/conversion_databases.h"
#include "conversion/conversion_display.h"
#include "conversion/conversion_settings.h"
#include "conversion/table_copy.h"
#include "files/conversion_log.h"
#include "platform/database.h"
#include "platform/file_system.h"

namespace vmu {

struct ConversionRun : ConversionDatabases {
  ConversionRun(const ConversionSettings& s, FileSystem& f, Databases* d, ConversionLog& l, ConversionDisplay& v)
      : settings(s), fs(f), databases(d), log(l), display(v) {}

  const ConversionSettings& settings;
  FileSystem& fs;
  Databases* databases;  // none: no database can be opened
  ConversionLog& log;
  ConversionDisplay& display;
  std::vector<TableCopy> tables;  // one per control row begun
  std::string old_database;       // the file read as the old one: ConvOldfile, or its SQLite copy
};

}  // namespace vmu
