#include "platform/mdb/mdb_jet_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "testing/conversion_files.h"
#include "testing/jet_test_files.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

using testing::JetTestFile;
using Kind = JetCopyOutcome::Kind;

struct Staging : ::testing::Test {
  testing::TestPrefix prefix;
  MdbJetFiles jet{prefix.fs()};
  const std::string old_db = "C:\\Data\\VM_DBv01.mdb";
  const std::string copy = "C:\\Data\\VM_DBv01.staging";

  JetCopyOutcome Stage(const std::string& bytes) {
    prefix.Write(old_db, bytes);
    chmod(prefix.Host(old_db).c_str(), 0444);  // a write to it would fail loudly
    struct stat before {};
    stat(prefix.Host(old_db).c_str(), &before);
    JetCopyOutcome outcome = jet.CopyToSqlite(old_db, copy);
    struct stat after {};
    stat(prefix.Host(old_db).c_str(), &after);
    EXPECT_EQ(prefix.Read(old_db), bytes);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    return outcome;
  }
  std::vector<std::string> Staged(const std::string& sql) { return testing::HostRows(prefix.Host(copy), sql); }
  // The declared type of each column, "|" between.
  std::vector<std::string> Types(const std::string& table) {
    return Staged("SELECT group_concat(type, '|') FROM pragma_table_info('" + table + "')");
  }
};

TEST_F(Staging, EveryFormatGivesTheSameValues) {
  const std::vector<std::string> table1 = {"a|b|0|0|0|0.0|1981-12-12|0|0",
                                           "abcdefg|hijklmnop|2|222|333333333|444.555|1974-09-21|3.5|1"};
  const struct {
    const char* file;
    DatabaseFormat format;
  } files[] = {{"jet3-test.mdb", DatabaseFormat::kJet3},
               {"jet4-test.mdb", DatabaseFormat::kJet4},
               {"ace-2010-test.accdb", DatabaseFormat::kAce}};
  for (const auto& f : files) {
    SCOPED_TRACE(f.file);
    const JetCopyOutcome o = Stage(JetTestFile(f.file));
    EXPECT_EQ(o.kind, Kind::kCopied) << o.detail;
    EXPECT_EQ(o.tables, 4);
    EXPECT_EQ(jet.FormatOf(old_db), f.format);
    EXPECT_EQ(Staged("SELECT * FROM Table1 ORDER BY C"), table1);
    EXPECT_EQ(Types("Table1"), std::vector<std::string>{"TEXT|TEXT|INTEGER|INTEGER|INTEGER|REAL|DATETIME||YESNO"});
    EXPECT_EQ(Staged("SELECT typeof(H), typeof(I) FROM Table1 WHERE C = 2"), std::vector<std::string>{"real|integer"});
    EXPECT_EQ(Staged("SELECT count(*) FROM Table4"), std::vector<std::string>{"0"});
    prefix.fs().DeleteFile(copy);
  }
  EXPECT_EQ(Stage(JetTestFile("jet4-numeric.mdb")).kind, Kind::kCopied);
  EXPECT_EQ(Staged("SELECT * FROM test"), std::vector<std::string>{"some data|1|0|0|4|-1|1"});
  EXPECT_EQ(Types("test"), std::vector<std::string>{"TEXT||||||"});
  prefix.fs().DeleteFile(copy);
  // A database password does not encrypt Jet 4's pages.
  EXPECT_EQ(Stage(JetTestFile("jet4-database-password.mdb")).kind, Kind::kCopied);
  EXPECT_EQ(Staged("SELECT * FROM Table1"), (std::vector<std::string>{"1|One", "2|Two", "3|Three"}));
  EXPECT_EQ(Types("Table1"), std::vector<std::string>{"INTEGER|TEXT"});
}

TEST_F(Staging, EncryptedAndDamagedFilesAreRefusedWithNothingWritten) {
  // The first pages of an encrypted Access 2010 file: its catalog is unreadable.
  const JetCopyOutcome encrypted = Stage(JetTestFile("ace-2010-encrypted-head.accdb"));
  EXPECT_EQ(encrypted.kind, Kind::kEncrypted);
  EXPECT_FALSE(prefix.fs().FileExists(copy));

  EXPECT_EQ(Stage("not a database at all").kind, Kind::kUnreadable);
  EXPECT_EQ(jet.FormatOf(old_db), DatabaseFormat::kUnknown);

  // Damage anywhere after the header: the copy either succeeds or refuses,
  // and the reader never takes this process down with it.
  const std::string good = JetTestFile("jet4-test.mdb");
  unsigned seed = 20;
  for (int round = 0; round < 12; ++round) {
    std::string bad = good;
    for (int i = 0; i < 200; ++i) {
      seed = seed * 1103515245 + 12345;
      bad[4096 + seed % (good.size() - 4096)] = static_cast<char>(seed >> 16);
    }
    const JetCopyOutcome o = Stage(bad);
    EXPECT_EQ(prefix.fs().FileExists(copy), o.kind == Kind::kCopied);
    if (prefix.fs().FileExists(copy)) prefix.fs().DeleteFile(copy);
  }
}

TEST(DatabaseFormat, ByHeader) {
  using namespace std::string_literals;
  EXPECT_EQ(FormatOfHeader("SQLite format 3\0rest"s), DatabaseFormat::kSqlite);
  EXPECT_EQ(FormatOfHeader("\0\1\0\0Standard Jet DB\0\0\0\0\0"s), DatabaseFormat::kJet3);
  EXPECT_EQ(FormatOfHeader("\0\1\0\0Standard Jet DB\0\1\0\0\0"s), DatabaseFormat::kJet4);
  EXPECT_EQ(FormatOfHeader("\0\1\0\0Standard ACE DB\0\3\0\0\0"s), DatabaseFormat::kAce);
  EXPECT_EQ(FormatOfHeader("\0\1\0\0Standard Jet DB\0\7\0\0\0"s), DatabaseFormat::kUnknown);
  EXPECT_EQ(FormatOfHeader("\0\1\0\0Standard Jet"s), DatabaseFormat::kUnknown);
}

}  // namespace
}  // namespace vmu
