#include "platform/sqlite/jet_connection_string.h"

#include <gtest/gtest.h>

#include "platform/sqlite/sqlite_error.h"
#include "testing/error_of.h"

namespace vmu {
namespace {

TEST(JetConnectionString, TakesTheDataSourceAndIgnoresTheRest) {
  const std::pair<const char*, const char*> cases[] = {
      {"PROVIDER=MSDataShape;Data PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source= C:\\Program "
       "Files\\velmora\\VM_DBv01.mdb; "
       "Jet OLEDB:Database Password = kolpa7",
       "C:\\Program Files\\velmora\\VM_DBv01.mdb"},
      {"Data Source=C:\\x.mdb", "C:\\x.mdb"},
      {"data source = \"C:\\a b\\c.mdb\" ;Jet OLEDB:Database Password=x", "C:\\a b\\c.mdb"},
      {"Provider=Microsoft.Jet.OLEDB.4.0; DATA SOURCE=D:\\db.mdb", "D:\\db.mdb"},
  };
  for (auto [text, path] : cases) EXPECT_EQ(DataSourceOf(text), path) << text;
  for (const char* bad : {"", "Provider=Microsoft.Jet.OLEDB.4.0", "Data Source=; Password=x", "MyData Source=C:\\x"})
    EXPECT_EQ(testing::ErrorOf([&] { DataSourceOf(bad); }), kDatabaseError) << bad;
}

}  // namespace
}  // namespace vmu
