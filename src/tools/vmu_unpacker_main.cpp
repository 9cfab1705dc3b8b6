// The unpacker at the head of every package. The wizard copies the package
// to VMU_ZP.exe and starts it as `VMU_ZP.exe /auto <folder>`; it unpacks
// its own archive into that folder and names each file it wrote, with its
// size and SHA-256, on standard output.
#include <strings.h>
#include <unistd.h>

#include <iostream>
#include <string>

#include "app/cli/command_line.h"
#include "package/minisign_format.h"
#include "platform/crypto/package_verification.h"
#include "platform/error.h"
#include "tools/pack/file_io.h"
#include "tools/pack/unpack.h"
#include "tools/pack/unpack_target.h"

namespace {

// This program's own file: the package.
std::string OwnFile() {
  char path[4096];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : "/proc/self/exe";
}

// The package must be signed by one of the keys in the file, as the wizard
// has checked it already: this program then holds to the same rule.
void CheckSignature(const std::string& package, const std::string& key_file) {
  const auto text = vmu::package::TrustedKeysText(vmu::pack::ReadWholeFile(key_file));
  const auto keys = text ? vmu::package::ParseTrustedKeys(*text) : std::vector<vmu::package::PublicKey>();
  if (keys.empty()) throw vmu::pack::PackError(key_file + ": refused: it holds no readable key");
  vmu::pack::UniqueFd fd = vmu::pack::OpenForReading(package);
  const vmu::PackageCheck check = vmu::crypto::CheckPackage(fd.get(), package, &keys);
  if (check.verdict != vmu::PackageVerdict::Signed) throw vmu::pack::PackError(package + ": refused: " + check.detail);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string self = argc > 0 ? argv[0] : "VMU_ZP.exe";
  const std::string program = self.substr(self.find_last_of("/\\") + 1);
  const vmu::cli::Program cli{program, "usage: " + program + " [/keys TRUSTED_KEYS] /auto FOLDER\n"};
  // Only the first argument can be an option: the folder's pieces are taken as
  // they come, even when one starts with a dash.
  if (argc >= 2 && argv[1][0] == '-') {
    vmu::cli::Arguments args;
    if (auto status = vmu::cli::Parse(cli, 2, argv, {}, args, std::cout, std::cerr)) return *status;
  }
  // "/keys FILE" first: the wizard's trusted keys, which this package must
  // be signed with.
  const char* keys = nullptr;
  if (argc >= 3 && ::strcasecmp(argv[1], "/keys") == 0) {
    keys = argv[2];
    argc -= 2;
    argv += 2;
  }
  if (argc < 3 || ::strcasecmp(argv[1], "/auto") != 0) {
    std::cerr << cli.usage;
    return 2;
  }
  // A folder with blanks arrives in pieces: the command line is split at blanks.
  std::string folder = argv[2];
  for (int i = 3; i < argc; ++i) folder += std::string(" ") + argv[i];
  try {
    if (keys) CheckSignature(OwnFile(), vmu::pack::UnpackTarget(keys));
    // The wizard installs only what this report names, with these hashes.
    for (const auto& file : vmu::pack::UnpackPackage(OwnFile(), vmu::pack::UnpackTarget(folder)))
      std::cout << vmu::package::UnpackedFileLine(file);
    std::cout << std::flush;
    if (!std::cout) throw std::runtime_error("cannot write the list of unpacked files");
  } catch (const vmu::VbError& e) {
    std::cerr << program << ": " << folder << ": " << e.description() << '\n';
    return 1;
  } catch (const std::exception& e) {
    std::cerr << program << ": " << e.what() << '\n';
    return 1;
  }
  return 0;
}
