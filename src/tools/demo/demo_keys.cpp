#include "tools/demo/demo_keys.h"

#include <filesystem>
#include <fstream>

#include "package/minisign_format.h"
#include "tools/demo/demo_installation.h"
#include "tools/pack/file_io.h"
#include "wizard/package_trust.h"

namespace vmu {

namespace {

namespace stdfs = std::filesystem;

void WriteFile(const stdfs::path& path, const std::string& bytes) { WriteDemoFile(path.string(), bytes); }

void WritePair(const stdfs::path& folder, const std::string& name, const crypto::KeyPair& pair) {
  WriteFile(folder / (name + ".pub"), package::PublicKeyFileText(pair.public_key));
  WriteFile(folder / (name + ".key"), crypto::UnencryptedSecretKeyFileText(pair.secret_key));
  stdfs::permissions(folder / (name + ".key"), stdfs::perms::owner_read | stdfs::perms::owner_write);
}

}  // namespace

DemoKeys MakeDemoKeys(const std::string& dir) {
  const stdfs::path folder = stdfs::absolute(dir) / "keys";
  stdfs::create_directories(folder);
  DemoKeys keys{crypto::GenerateKeyPair(), crypto::GenerateKeyPair()};
  WritePair(folder, "supplier", keys.supplier);
  WritePair(folder, "stranger", keys.stranger);
  return keys;
}

std::string TrustedKeysText(const package::PublicKey& key) {
  return "# Sleutels van de leverancier van Velmora: alleen updates die hiermee zijn ondertekend\r\n"
         "# worden geïnstalleerd.\r\n" +
         package::PublicKeyLine(key) + "\r\n";
}

void InstallDemoTrustedKeys(const DemoPaths& paths, const DemoKeys& keys) {
  for (const std::string& folder : {paths.program_dir, paths.other_dir})
    WriteFile(DemoHostPath(paths, folder + kTrustedKeysName), TrustedKeysText(keys.supplier.public_key));
}

}  // namespace vmu
