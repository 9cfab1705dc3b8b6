#include "platform/sqlite/set_copy.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/sqlite/sqlite_databases.h"
#include "platform/sqlite/sqlite_exec.h"
#include "testing/conversion_files.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

constexpr const char* kOld = "C:\\data\\Oud 100%.mdb";  // a name that must be escaped in a URI
constexpr const char* kNew = "C:\\data\\Nieuw.mdb";
constexpr long kRows = 200000;

struct Fixture {
  testing::TestPrefix prefix;
  SqliteDatabases databases{prefix.fs()};
  std::unique_ptr<Connection> connection;
  Fixture() {
    prefix.Write(kOld, "");
    prefix.Write(kNew, "");
    ExecuteSql(prefix.Host(kOld),
               "CREATE TABLE T (A INTEGER, B TEXT); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
               "WHERE i < " +
                   std::to_string(kRows) + ") INSERT INTO T SELECT i, 'rij ' || i FROM n;");
    ExecuteSql(prefix.Host(kNew), "CREATE TABLE T (A INTEGER, B TEXT); CREATE TABLE U (B TEXT, A INTEGER);");
    connection = databases.NewConnection();
    connection->Open(std::string("Data Source=") + kNew);
  }
  SetCopy Copy(const std::string& query, const std::string& destination) {
    return SetCopy{std::string("Data Source=") + kOld, query, destination, nullptr};
  }
  std::string Count(const std::string& table) {
    return testing::HostRows(prefix.Host(kNew), "SELECT count(*) FROM " + table).at(0);
  }
};

TEST(SetCopy, ReportsRowsDoneWhileItCopiesAndWholeRecordsAsWellAsChosenColumns) {
  Fixture f;
  // Whole records between identical layouts, then columns by name into another order.
  for (const char* destination : {"T", "U"}) {
    SCOPED_TRACE(destination);
    std::vector<long> seen;
    SetCopy copy = f.Copy("SELECT * FROM T", destination);
    copy.progress = [&](long rows) { seen.push_back(rows); };
    const SetCopyOutcome outcome = f.connection->CopyBySet(copy);
    ASSERT_TRUE(outcome.copied) << outcome.reason;
    EXPECT_EQ(outcome.rows, kRows);
    EXPECT_EQ(f.Count(destination), std::to_string(kRows));
    ASSERT_GT(seen.size(), 2u);
    for (size_t i = 1; i < seen.size(); ++i) EXPECT_LE(seen[i - 1], seen[i]);
    // The estimate for whole records stays near the truth.
    EXPECT_LE(seen.back(), kRows + kRows / 10);
  }
}

TEST(SetCopy, AnErrorOfTheProgressCallbackComesOutAndNothingIsWritten) {
  Fixture f;
  SetCopy copy = f.Copy("SELECT B, A FROM T", "U");
  copy.progress = [](long rows) {
    if (rows > 1000) throw std::runtime_error("gestopt");
  };
  EXPECT_THROW(f.connection->CopyBySet(copy), std::runtime_error);
  EXPECT_EQ(f.Count("U"), "0");
  // The connection goes on as before.
  copy.progress = nullptr;
  EXPECT_TRUE(f.connection->CopyBySet(copy).copied);
  EXPECT_EQ(f.Count("U"), std::to_string(kRows));
}

TEST(SetCopy, LeavesToTheRowPathWhatItCannotProveEqual) {
  Fixture f;
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT A AS C FROM T", "T"},               // a field the destination lacks
      {"SELECT A, A AS a FROM T", "T"},            // the same field twice
      {"SELECT * FROM U", "T"},                    // a table only the new database has
      {"SELECT * FROM T; SELECT 1", "T"},          // two statements
      {"SELECT * FROM T", "Bestaatniet"},          // no destination
      {"SELECT * FROM T WHERE A = 'x' +", "T"},    // no query
      {"SELECT A FROM T", "SELECT A + 1 FROM T"},  // no column to write
  };
  for (const auto& [query, destination] : cases) {
    const SetCopyOutcome outcome = f.connection->CopyBySet(f.Copy(query, destination));
    EXPECT_FALSE(outcome.copied) << query;
    EXPECT_FALSE(outcome.reason.empty()) << query;
  }
  EXPECT_EQ(f.Count("T"), "0");
}

}  // namespace
}  // namespace vmu
