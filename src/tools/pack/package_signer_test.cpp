#include "tools/pack/package_signer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/crypto/hashing.h"
#include "platform/crypto/package_verification.h"
#include "tools/pack/file_io.h"
#include "tools/pack/pack_test_support.h"
#include "tools/pack/package_format.h"
#include "tools/pack/package_writer.h"
#include "tools/pack/source_check.h"

namespace vmu::pack {
namespace {

using testing::BinDir;
using testing::RunProgram;
using testing::Tree;
using testing::WriteGoodSource;
using vmu::testing::ReadHostFile;
using vmu::testing::TempDir;
using vmu::testing::WriteHostFile;

constexpr auto Check = crypto::CheckPackageFile;

struct Signed {
  TempDir dir;
  crypto::KeyPair key = crypto::GenerateKeyPair();
  std::vector<package::PublicKey> trusted{key.public_key};
  std::string package = dir.Sub("upd.VMU");
  PackageLayout layout;

  Signed() {
    WriteGoodSource(dir.Sub("src"));
    WritePackage(BinDir() + "/vmu-unpacker", CheckSourceFolder(dir.Sub("src")).files, package, &key.secret_key);
    UniqueFd fd = OpenForReading(package);
    layout = ReadSeal(fd.get(), package);
  }
  // A copy of the package with bytes changed.
  std::string Altered(const std::string& name, const std::function<void(std::string&)>& change) {
    std::string bytes = ReadHostFile(package);
    change(bytes);
    WriteHostFile(dir.Sub(name), bytes);
    return dir.Sub(name);
  }
};

TEST(PackageSignature, SignedPackagesPassAndEveryChangedByteIsCaught) {
  Signed s;
  PackageCheck check = Check(s.package, &s.trusted);
  EXPECT_EQ(check.verdict, PackageVerdict::Signed) << check.detail;
  EXPECT_EQ(check.key_id, package::KeyIdText(s.key.public_key.id));
  EXPECT_EQ(Check(s.package, nullptr).verdict, PackageVerdict::Intact);
  EXPECT_EQ(s.layout.version, 2);

  const std::size_t signature_line = s.layout.signed_end + s.layout.signature.find('\n') + 60;
  const std::size_t trusted_comment = s.layout.signed_end + s.layout.signature.find("trusted comment: t") + 20;
  struct Case {
    const char* what;
    std::function<void(std::string&)> change;
    PackageVerdict verdict;
  };
  const Case cases[] = {
      {"a byte of the unpacker", [](std::string& b) { b[1000] ^= 1; }, PackageVerdict::Damaged},
      {"a byte of the archive", [&](std::string& b) { b[s.layout.archive_start + 40] ^= 1; }, PackageVerdict::Damaged},
      {"a byte of the seal's hash", [&](std::string& b) { b[s.layout.signed_end - 3] ^= 1; }, PackageVerdict::Damaged},
      {"a byte of the signature", [&](std::string& b) { b[signature_line] ^= 1; }, PackageVerdict::BadSignature},
      {"the trusted comment", [&](std::string& b) { b[trusted_comment] ^= 1; }, PackageVerdict::BadSignature},
      {"the last byte", [](std::string& b) { b.pop_back(); }, PackageVerdict::Damaged},
      {"half of it", [](std::string& b) { b.resize(b.size() / 2); }, PackageVerdict::Damaged},
      {"bytes added", [](std::string& b) { b += "x"; }, PackageVerdict::Damaged},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string altered = s.Altered("altered-" + std::to_string(n++) + ".VMU", c.change);
    EXPECT_EQ(Check(altered, &s.trusted).verdict, c.verdict) << c.what;
  }

  // Changed and sealed again by someone without the key: the seal holds, the signature does not.
  const std::string forged = s.Altered("forged.VMU", [](std::string& b) { b[1000] ^= 1; });
  {
    UniqueFd fd(::open(forged.c_str(), O_RDWR));
    WriteSealLine(fd.get(), s.layout, s.layout.signed_end - s.layout.comment_start + s.layout.signature.size(), forged);
  }
  EXPECT_EQ(Check(forged, nullptr).verdict, PackageVerdict::Intact);
  check = Check(forged, &s.trusted);
  EXPECT_EQ(check.verdict, PackageVerdict::BadSignature);
  EXPECT_NE(check.detail.find("does not match its contents"), std::string::npos);

  // The legacy form signs the whole file, which would have to be read into
  // memory: it is refused unread.
  auto legacy = *package::ParseSignatureFile(s.layout.signature);
  legacy.prehashed = false;
  const std::string legacy_package = s.Altered("legacy.VMU", [&](std::string& b) {
    b.replace(b.find(s.layout.signature), s.layout.signature.size(), package::SignatureFileText(legacy));
  });
  check = Check(legacy_package, &s.trusted);
  EXPECT_EQ(check.detail, "its signature has the legacy form");

  // The signed package still unpacks as any other.
  const auto run = RunProgram({s.package, "/auto", s.dir.Sub("unpacked")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Tree(s.dir.Sub("unpacked")), Tree(s.dir.Sub("src")));
}

TEST(PackageSignature, UnsignedAndForeignPackagesAndResigning) {
  Signed s;
  const std::string unsigned_package = s.dir.Sub("unsigned.VMU");
  WritePackage(BinDir() + "/vmu-unpacker", CheckSourceFolder(s.dir.Sub("src")).files, unsigned_package);
  EXPECT_EQ(Check(unsigned_package, &s.trusted).verdict, PackageVerdict::Unsigned);

  const crypto::KeyPair stranger = crypto::GenerateKeyPair();
  const std::string foreign = s.dir.Sub("foreign.VMU");
  SignPackage(stranger.secret_key, s.package, foreign);
  PackageCheck check = Check(foreign, &s.trusted);
  EXPECT_EQ(check.verdict, PackageVerdict::UnknownKey);
  EXPECT_EQ(check.key_id, package::KeyIdText(stranger.public_key.id));
  // A key file without keys trusts no one.
  const std::vector<package::PublicKey> none;
  EXPECT_EQ(Check(s.package, &none).verdict, PackageVerdict::UnknownKey);

  // Given the trusted keys, the unpacker holds to them as well.
  WriteHostFile(s.dir.Sub("keys.txt"), package::PublicKeyLine(s.key.public_key) + "\n");
  for (const auto& [package, status] : {std::pair{s.package, 0}, {foreign, 1}, {unsigned_package, 1}}) {
    ::chmod(package.c_str(), 0755);
    const std::string out = package + ".out";
    const auto run = RunProgram({package, "/keys", s.dir.Sub("keys.txt"), "/auto", out});
    EXPECT_EQ(run.status, status) << package << run.err;
    EXPECT_EQ(Tree(out).empty(), status != 0) << package;
  }

  // Signing an unsigned package and signing again give the same bytes up to the comment.
  const std::string resigned = s.dir.Sub("resigned.VMU");
  SignPackage(s.key.secret_key, unsigned_package, resigned);
  EXPECT_EQ(Check(resigned, &s.trusted).verdict, PackageVerdict::Signed);
  SignPackage(s.key.secret_key, foreign, resigned);
  EXPECT_EQ(Check(resigned, &s.trusted).verdict, PackageVerdict::Signed);

  // A package of the first kind (seal over the archive alone) is whole and unsigned; signing it is refused
  // because its unpacker would not know the new seal.
  UniqueFd fd = OpenForReading(unsigned_package);
  const PackageLayout layout = ReadSeal(fd.get(), unsigned_package);
  std::string first_kind = ReadHostFile(unsigned_package).substr(0, layout.comment_start);
  const std::string seal_start = "VMU-SEAL 1 start=" + std::to_string(layout.archive_start) + " sha256=";
  first_kind[layout.end_record + 20] = static_cast<char>(seal_start.size() + 64);
  first_kind[layout.end_record + 21] = 0;
  first_kind += seal_start + crypto::Sha256Hex(first_kind.substr(layout.archive_start));
  WriteHostFile(s.dir.Sub("first-kind.VMU"), first_kind);
  EXPECT_EQ(Check(s.dir.Sub("first-kind.VMU"), nullptr).verdict, PackageVerdict::Intact);
  EXPECT_EQ(Check(s.dir.Sub("first-kind.VMU"), &s.trusted).verdict, PackageVerdict::Unsigned);
  EXPECT_THROW(SignPackage(s.key.secret_key, s.dir.Sub("first-kind.VMU"), s.dir.Sub("never.VMU")), PackError);
  ::chmod(s.dir.Sub("first-kind.VMU").c_str(), 0755);
  const auto run = RunProgram({s.dir.Sub("first-kind.VMU"), "/auto", s.dir.Sub("first")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Tree(s.dir.Sub("first")), Tree(s.dir.Sub("src")));

  // A damaged package is not signed, and no output is left.
  const std::string damaged = s.Altered("damaged.VMU", [](std::string& b) { b[500] ^= 1; });
  EXPECT_THROW(SignPackage(s.key.secret_key, damaged, s.dir.Sub("never.VMU")), PackError);
  EXPECT_FALSE(std::filesystem::exists(s.dir.Sub("never.VMU")));
}

TEST(PackageSignature, MinisignKeysSignAndMinisignChecksWhatVmuPackSigned) {
  if (::access("/usr/bin/minisign", X_OK) != 0) GTEST_SKIP() << "minisign is not installed (scripts/install-deps)";
  TempDir dir;
  WriteGoodSource(dir.Sub("src"));
  const std::string pack = BinDir() + "/vmu-pack";
  ASSERT_EQ(RunProgram({"/usr/bin/minisign", "-G", "-W", "-p", dir.Sub("m.pub"), "-s", dir.Sub("m.key")}).status, 0);

  // minisign's key pair signs with vmu-pack, from a folder and from a package.
  auto run = RunProgram({pack, "--sign", dir.Sub("m.key"), dir.Sub("src"), dir.Sub("a.VMU")});
  ASSERT_EQ(run.status, 0) << run.err;
  run = RunProgram({pack, "--verify", dir.Sub("m.pub"), dir.Sub("a.VMU")});
  EXPECT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(RunProgram({pack, dir.Sub("src"), dir.Sub("plain.VMU")}).status, 0);
  ASSERT_EQ(RunProgram({pack, "--sign", dir.Sub("m.key"), dir.Sub("plain.VMU"), dir.Sub("b.VMU")}).status, 0);

  // What vmu-pack signed, minisign checks.
  for (const std::string name : {"a", "b"}) {
    run = RunProgram({pack, "--minisig", dir.Sub(name + ".VMU"), dir.Sub(name + ".signed")});
    ASSERT_EQ(run.status, 0) << run.err;
    run = RunProgram({"/usr/bin/minisign", "-V", "-p", dir.Sub("m.pub"), "-m", dir.Sub(name + ".signed")});
    EXPECT_EQ(run.status, 0) << name << ": " << run.out << run.err;
  }
  std::string bytes = ReadHostFile(dir.Sub("a.signed"));
  bytes[10] ^= 1;
  WriteHostFile(dir.Sub("a.signed"), bytes);
  EXPECT_NE(RunProgram({"/usr/bin/minisign", "-V", "-p", dir.Sub("m.pub"), "-m", dir.Sub("a.signed")}).status, 0);

  // vmu-pack's key pair is minisign's too; another key is refused in English.
  ASSERT_EQ(RunProgram({pack, "--keygen", dir.Sub("v.pub"), dir.Sub("v.key")}).status, 0);
  EXPECT_NE(RunProgram({pack, "--keygen", dir.Sub("v.pub"), dir.Sub("v2.key")}).status, 0);  // never overwrites
  EXPECT_EQ(std::filesystem::status(dir.Sub("v.key")).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  WriteHostFile(dir.Sub("msg"), "hallo");
  run = RunProgram({"/usr/bin/minisign", "-S", "-s", dir.Sub("v.key"), "-m", dir.Sub("msg")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(RunProgram({"/usr/bin/minisign", "-V", "-p", dir.Sub("v.pub"), "-m", dir.Sub("msg")}).status, 0);
  run = RunProgram({pack, "--verify", dir.Sub("v.pub"), dir.Sub("a.VMU")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("the package is not signed by a trusted key (it is signed by the unknown key"),
            std::string::npos)
      << run.err;
  run = RunProgram({pack, "--minisig", dir.Sub("plain.VMU"), dir.Sub("c.signed")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("the package is not signed"), std::string::npos) << run.err;
}

// The program at the head of every package runs on any x86-64 Linux.
TEST(Unpacker, NeedsNothingButTheCLibrary) {
  const auto run = RunProgram({"/usr/bin/ldd", BinDir() + "/vmu-unpacker"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    const std::string name = line.substr(line.find_first_not_of(" \t"));
    EXPECT_TRUE(name.starts_with("linux-vdso.so") || name.starts_with("libc.so.6 ") ||
                name.starts_with("/lib64/ld-linux-x86-64.so"))
        << line;
  }
  EXPECT_GE(count, 2);
}

TEST(Unpacker, RefusesToGuessWhereAWindowsFolderIs) {
  Signed s;
  const TempDir& dir = s.dir;
  const std::string& package = s.package;
  std::filesystem::create_directories(dir.Sub("home"));
  const std::string folder = "C:\\users\\anna\\AppData\\Roaming\\velmora\\Update";
  struct Case {
    std::vector<std::string> env;
    std::string message;
  };
  const Case cases[] = {
      {{"WINEPREFIX=", "HOME=" + dir.Sub("home")},
       "WINEPREFIX is not set and there is no Wine prefix at " + dir.Sub("home") + "/.wine"},
      {{"WINEPREFIX=" + dir.Sub("missing"), "HOME=" + dir.Sub("home")},
       "WINEPREFIX names " + dir.Sub("missing") + ", which holds no Wine prefix"},
  };
  for (const Case& c : cases) {
    const auto run = RunProgram({package, "/auto", folder}, c.env);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot place " + folder + ": " + c.message), std::string::npos) << run.err;
  }
  EXPECT_TRUE(Tree(dir.Sub("home")).empty());
  EXPECT_FALSE(std::filesystem::exists(dir.Sub("missing")));

  // With a prefix in its usual place it unpacks there.
  std::filesystem::create_directories(dir.Sub("home/.wine/drive_c"));
  const auto run = RunProgram({package, "/auto", folder}, {"WINEPREFIX=", "HOME=" + dir.Sub("home")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Tree(dir.Sub("home/.wine/drive_c/users/anna/AppData/Roaming/velmora/Update")), Tree(dir.Sub("src")));
}

}  // namespace
}  // namespace vmu::pack
