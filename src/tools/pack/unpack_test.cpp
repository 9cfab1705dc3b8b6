#include "tools/pack/unpack.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "platform/crypto/hashing.h"
#include "testing/test_prefix.h"
#include "tools/pack/file_io.h"
#include "tools/pack/pack_test_support.h"
#include "tools/pack/package_format.h"
#include "tools/pack/package_writer.h"

namespace vmu::pack {
namespace {

using testing::BinDir;
using testing::LineCount;
using testing::RunProgram;
using testing::Tree;
using testing::WriteGoodSource;
using vmu::testing::ReadHostFile;
using vmu::testing::TempDir;
using vmu::testing::WriteHostFile;

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& ch : bytes) ch = static_cast<char>(random());
  return bytes;
}

TEST(Unpacker, UnpacksWhatVmuPackPackedByteForByte) {
  TempDir dir;
  const std::string src = dir.Sub("src");
  WriteGoodSource(src);
  WriteHostFile(src + "/big.dat", RandomBytes(3 << 20, 1));
  WriteHostFile(src + "/empty.txt", "");
  auto made = RunProgram({BinDir() + "/vmu-pack", src, dir.Sub("upd.VMU")});
  ASSERT_EQ(made.status, 0) << made.err;

  // An earlier file of the same name is replaced; other files stay.
  WriteHostFile(dir.Sub("Update/VM.EXE"), "old");
  WriteHostFile(dir.Sub("Update/keep.txt"), "keep");
  auto result = RunProgram({dir.Sub("upd.VMU"), "/auto", dir.Sub("Update")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  // It reports each file it wrote, for the wizard to install only those.
  EXPECT_EQ(LineCount(result.out), static_cast<int>(Tree(src).size()));
  EXPECT_NE(result.out.find(crypto::Sha256Hex(ReadHostFile(src + "/big.dat")) + " 3145728 big.dat\n"),
            std::string::npos);
  auto expected = Tree(src);
  expected["keep.txt"] = "keep";
  EXPECT_EQ(Tree(dir.Sub("Update")), expected);

  const std::string good = ReadHostFile(dir.Sub("upd.VMU"));
  WriteHostFile(dir.Sub("Damaged/VM.EXE"), "old");
  const auto before = Tree(dir.Sub("Damaged"));
  const std::size_t archive = good.size() - (1 << 20) - 1000;  // inside big.dat's data
  struct Damage {
    const char* what;
    std::string bytes;
  };
  // Which changes the seal catches is package_signer_test's; here that the
  // unpacker checks before it writes, whether the archive reads or not.
  std::vector<Damage> damages = {{"cut in the archive", good.substr(0, archive)}, {"one byte altered in a file", good}};
  damages[1].bytes[archive] ^= 0x01;
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    WriteHostFile(dir.Sub("bad.VMU"), damage.bytes);
    std::filesystem::permissions(dir.Sub("bad.VMU"), std::filesystem::perms::owner_all);
    auto refused = RunProgram({dir.Sub("bad.VMU"), "/auto", dir.Sub("Damaged")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(LineCount(refused.err), 1) << refused.err;
    EXPECT_NE(refused.err.find("damaged"), std::string::npos) << refused.err;
    EXPECT_EQ(Tree(dir.Sub("Damaged")), before);
  }

  // The listing names the files and the versions.
  auto listing = RunProgram({BinDir() + "/vmu-pack", "--list", dir.Sub("upd.VMU")});
  EXPECT_EQ(listing.status, 0) << listing.err;
  EXPECT_NE(listing.out.find("     3145728  big.dat\n"), std::string::npos) << listing.out;
  EXPECT_NE(listing.out.find("01.03.02 / 0006  (Ver=10302, VerUpdate=6)"), std::string::npos) << listing.out;
  EXPECT_NE(listing.out.find("01.03.02 / 0005  (VerLow=10302, VerLowUpdate=5)"), std::string::npos);

  // Any zip tool reads the archive behind the unpacker.
  if (std::system("command -v unzip >/dev/null 2>&1") == 0) {
    auto unzip = RunProgram({"/usr/bin/env", "unzip", "-l", dir.Sub("upd.VMU")});
    EXPECT_EQ(unzip.status, 0) << unzip.err;
    EXPECT_NE(unzip.out.find(" 7 files"), std::string::npos) << unzip.out;
  }

  // The wizard's command line is split at blanks: the folder comes in pieces.
  vmu::testing::TestPrefix prefix;
  result = RunProgram({dir.Sub("upd.VMU"), "/auto", "C:\\users\\anna", "maria\\AppData\\Update"},
                      {"WINEPREFIX=" + prefix.prefix()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(prefix.Read("C:\\users\\anna maria\\AppData\\Update\\screens.ini"), "[Screens]\r\nMain=1280x800\r\n");

  result = RunProgram({dir.Sub("upd.VMU"), "C:\\Update"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "usage: upd.VMU [/keys TRUSTED_KEYS] /auto FOLDER\n");
}

// A package of files under the names given, written by vmu-pack's own
// writer, which packs whatever names it is handed.
void WriteNamedPackage(const std::string& package, const std::vector<std::pair<std::string, std::string>>& files) {
  std::vector<SourceFile> sources;
  for (const auto& [name, data] : files) {
    const std::string host_path = package + ".source/" + std::to_string(sources.size());
    WriteHostFile(host_path, data);
    sources.push_back({name, host_path, data.size()});
  }
  WritePackage(BinDir() + "/vmu-unpacker", sources, package);
}

// vmu-pack packs plain files only: a package with a link in it is made by
// hand, a zip from libarchive behind the unpacker, sealed.
void WritePackageWithLink(const std::string& package, const std::string& name, const std::string& target) {
  const std::string zip_path = package + ".zip";
  archive* zip = archive_write_new();
  archive_write_set_format_zip(zip);
  archive_write_set_bytes_in_last_block(zip, 1);
  ASSERT_EQ(archive_write_open_filename(zip, zip_path.c_str()), ARCHIVE_OK);
  archive_entry* entry = archive_entry_new();
  archive_entry_set_pathname(entry, name.c_str());
  archive_entry_set_filetype(entry, AE_IFLNK);
  archive_entry_set_symlink(entry, target.c_str());
  archive_entry_set_perm(entry, 0644);
  archive_write_header(zip, entry);
  archive_entry_free(entry);
  archive_write_close(zip);
  archive_write_free(zip);

  const std::string unpacker = ReadHostFile(BinDir() + "/vmu-unpacker");
  WriteHostFile(package, unpacker + ReadHostFile(zip_path));
  std::filesystem::remove(zip_path);
  UniqueFd fd(::open(package.c_str(), O_RDWR | O_CLOEXEC));
  ASSERT_GE(fd.get(), 0);
  SealArchive(fd.get(), unpacker.size(), package);
  fd.Close(package);
  std::filesystem::permissions(package, std::filesystem::perms::owner_all);
}

TEST(Unpacker, RefusesHostileArchivesAndWritesNothing) {
  TempDir dir;
  const std::string outside = dir.Sub("outside");
  WriteHostFile(outside + "/x", "untouched");
  const std::vector<std::vector<std::pair<std::string, std::string>>> archives = {
      {{"ok.txt", "fine"}, {"../x", "climbed"}},
      {{"ok.txt", "fine"}, {outside + "/x", "absolute"}},
      {{"A.txt", "one"}, {"a.txt", "two"}},
      {{"ok.txt", "fine"}, {"sub/x", "nested"}},
      {{"ok.txt", "fine"}, {". .", "the folder itself"}},
      {{"ok.txt", "fine"}, {std::string(256, 'n'), "longer than Windows allows"}},
  };
  WriteHostFile(dir.Sub("Update/existing"), "mine");
  const auto refuses = [&](const std::string& package) {
    const auto before = Tree(dir.path());
    auto result = RunProgram({package, "/auto", dir.Sub("Update")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(LineCount(result.err), 1) << result.err;
    EXPECT_NE(result.err.find("refused: the entry"), std::string::npos) << result.err;
    EXPECT_EQ(Tree(dir.path()), before);
  };
  for (const auto& files : archives) {
    SCOPED_TRACE(files.back().first);
    WriteNamedPackage(dir.Sub("hostile.VMU"), files);
    refuses(dir.Sub("hostile.VMU"));
  }
  WritePackageWithLink(dir.Sub("link.VMU"), "link", outside);
  refuses(dir.Sub("link.VMU"));

  // More than the limit, all files together, is refused before any is written.
  WriteNamedPackage(dir.Sub("large.VMU"), {{"a.txt", "12345"}, {"b.txt", "12345"}});
  EXPECT_THROW(
      try { UnpackPackage(dir.Sub("large.VMU"), dir.Sub("Update"), 9); } catch (const PackError& e) {
        EXPECT_NE(std::string(e.what()).find("larger than 9 bytes"), std::string::npos) << e.what();
        throw;
      },
      PackError);
  EXPECT_EQ(Tree(dir.Sub("Update")), (std::map<std::string, std::string>{{"existing", "mine"}}));

  // A link already in the folder is not written through.
  std::filesystem::create_symlink(outside + "/x", dir.Sub("Update/ok.txt"));
  WriteNamedPackage(dir.Sub("plain.VMU"), {{"ok.txt", "through the link?"}});
  auto result = RunProgram({dir.Sub("plain.VMU"), "/auto", dir.Sub("Update")});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("a link is in the way"), std::string::npos) << result.err;
  EXPECT_EQ(ReadHostFile(outside + "/x"), "untouched");
}

}  // namespace
}  // namespace vmu::pack
