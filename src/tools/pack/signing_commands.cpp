#include "tools/pack/signing_commands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <iostream>
#include <string>

#include "package/minisign_format.h"
#include "platform/crypto/package_verification.h"
#include "tools/pack/file_io.h"
#include "tools/pack/package_signer.h"
#include "tools/pack/package_writer.h"
#include "tools/pack/source_check.h"
#include "tools/pack/unpacker_location.h"

namespace vmu::pack {

const char* const kSigningUsage =
    "       vmu-pack --keygen [PUBLIC_KEY SECRET_KEY]  make a key pair (default vmu.pub, vmu.key)\n"
    "       vmu-pack --sign SECRET_KEY SOURCE OUTPUT.VMU\n"
    "                                 sign a package, or check a folder and write it signed\n"
    "       vmu-pack --verify PUBLIC_KEY PACKAGE  check a package and its signature\n"
    "       vmu-pack --minisig PACKAGE DATA       write the signed bytes as DATA and the\n"
    "                                 signature as DATA.minisig, for minisign -V\n";

std::string ReadPassword() {
  const int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
  std::string password;
  if (tty < 0) {
    std::getline(std::cin, password);
    return password;
  }
  const std::string prompt = "Password: ";
  (void)!::write(tty, prompt.data(), prompt.size());
  termios old{};
  const bool quiet = ::tcgetattr(tty, &old) == 0;
  if (quiet) {
    termios silent = old;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(tty, TCSAFLUSH, &silent);
  }
  char ch = 0;
  while (::read(tty, &ch, 1) == 1 && ch != '\n') password += ch;
  if (quiet) ::tcsetattr(tty, TCSAFLUSH, &old);
  (void)!::write(tty, "\n", 1);
  ::close(tty);
  return password;
}

namespace {

// A new file that must not exist yet; the secret key readable by its owner only.
void WriteNewFile(const std::string& path, const std::string& text, mode_t mode) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
  if (fd.get() < 0) RaiseErrno("cannot create", path);
  WriteAll(fd.get(), text.data(), text.size(), path);
  fd.Close(path);
}

int KeyGen(const std::string& public_path, const std::string& secret_path) {
  const crypto::KeyPair pair = crypto::GenerateKeyPair();
  WriteNewFile(secret_path, crypto::UnencryptedSecretKeyFileText(pair.secret_key), 0600);
  WriteNewFile(public_path, package::PublicKeyFileText(pair.public_key), 0644);
  std::cout << "vmu-pack: key " << package::KeyIdText(pair.public_key.id) << ": public key " << public_path
            << ", secret key " << secret_path << " (no password: keep it off the build machine)\n"
            << "trusted-keys line: " << package::PublicKeyLine(pair.public_key) << '\n';
  return 0;
}

int Sign(const std::string& secret_path, const std::string& source, const std::string& output,
         const std::string& old_db) {
  const crypto::SecretKey key = LoadSecretKey(secret_path, ReadPassword);
  struct stat st {};
  if (::stat(source.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    const SourceCheck check = CheckSourceFolder(source, old_db);
    for (const std::string& warning : check.warnings) std::cerr << "vmu-pack: warning: " << warning << '\n';
    for (const std::string& problem : check.problems) std::cerr << "vmu-pack: " << problem << '\n';
    if (!check.problems.empty()) return 1;
    WritePackage(FindUnpacker(), check.files, output, &key);
  } else {
    SignPackage(key, source, output);
  }
  std::cout << "vmu-pack: wrote " << output << ", signed with key " << package::KeyIdText(key.id) << '\n';
  return 0;
}

int Verify(const std::string& keys_path, const std::string& package) {
  const std::vector<package::PublicKey> keys = LoadPublicKeys(keys_path);
  PackageCheck check;
  try {
    check = crypto::CheckPackageFile(package, &keys);
  } catch (const std::runtime_error& e) {
    throw PackError(e.what());
  }
  if (check.verdict == PackageVerdict::Signed) {
    std::cout << "vmu-pack: " << package << ": whole, " << check.detail << '\n';
    return 0;
  }
  const char* what = check.verdict == PackageVerdict::Damaged ? "the package is damaged or incomplete"
                                                              : "the package is not signed by a trusted key";
  std::cerr << "vmu-pack: " << package << ": " << what << " (" << check.detail << ")\n";
  return 1;
}

}  // namespace

int RunSigningCommand(int argc, char** argv, const std::string& old_db) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "--keygen" && (argc == 2 || argc == 4))
    return KeyGen(argc == 4 ? argv[2] : "vmu.pub", argc == 4 ? argv[3] : "vmu.key");
  if (command == "--sign" && argc == 5) return Sign(argv[2], argv[3], argv[4], old_db);
  if (command == "--verify" && argc == 4) return Verify(argv[2], argv[3]);
  if (command == "--minisig" && argc == 4) {
    ExportSignature(argv[2], argv[3]);
    std::cout << "vmu-pack: wrote " << argv[3] << " and " << argv[3] << ".minisig\n";
    return 0;
  }
  return -1;
}

}  // namespace vmu::pack
