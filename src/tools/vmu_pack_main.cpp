// vmu-pack SOURCE_FOLDER OUTPUT.VMU: checks the folder and writes the package.
// vmu-pack --list PACKAGE: shows a package's files and versions.
// vmu-pack --keygen, --sign, --verify, --minisig: signatures (signing_commands.h).
#include <cstdio>
#include <iostream>
#include <string>

#include "files/format_version.h"
#include "package/manifest_keys.h"
#include "package/package_files.h"
#include "tools/pack/file_io.h"
#include "tools/pack/manifest.h"
#include "tools/pack/package_listing.h"
#include "tools/pack/package_writer.h"
#include "tools/pack/signing_commands.h"
#include "tools/pack/source_check.h"

namespace {

namespace key = vmu::package::key;
using vmu::package::ManifestKey;

constexpr const char* kUsage =
    "usage: vmu-pack SOURCE_FOLDER OUTPUT.VMU   check the folder and write the package\n"
    "       vmu-pack --list PACKAGE             show the files and versions of a package\n";

int Pack(const std::string& folder, const std::string& output) {
  const vmu::pack::SourceCheck check = vmu::pack::CheckSourceFolder(folder);
  for (const std::string& warning : check.warnings) std::cerr << "vmu-pack: warning: " << warning << '\n';
  for (const std::string& problem : check.problems) std::cerr << "vmu-pack: " << problem << '\n';
  if (!check.problems.empty()) return 1;
  vmu::pack::WritePackage(vmu::pack::UnpackerBesideThisProgram(), check.files, output);
  std::cout << "vmu-pack: wrote " << output << " (" << check.files.size() << " files)\n";
  return 0;
}

// "01.03.02 / 0006" for a version pair as the wizard reads it, or the text
// that the wizard would stop at.
std::string VersionText(const std::string& manifest, const ManifestKey& version_key, const ManifestKey& update_key) {
  const std::string version = vmu::pack::ManifestValue(manifest, version_key.name).value_or(version_key.default_value);
  const std::string update = vmu::pack::ManifestValue(manifest, update_key.name).value_or(update_key.default_value);
  const auto v = vmu::package::ReadWholeNumber(version, *version_key.number);
  const auto u = vmu::package::ReadWholeNumber(update, *update_key.number);
  const std::string pair = std::string(version_key.name) + "=" + version + ", " + update_key.name + "=" + update;
  if (!v.ok() || !u.ok()) return "not a number (" + pair + ")";
  return vmu::FormatVersion(static_cast<int>(v.value), true, static_cast<int>(u.value)) + "  (" + pair + ")";
}

int List(const std::string& package) {
  const vmu::pack::PackageListing listing = vmu::pack::ListPackage(package);
  std::cout << package << ": " << listing.files.size() << " files, seal checked\n";
  for (const auto& file : listing.files) {
    char size[32];
    std::snprintf(size, sizeof size, "%12llu", static_cast<unsigned long long>(file.size));
    std::cout << size << "  " << file.name << '\n';
  }
  if (listing.manifest_name.empty()) {
    std::cout << "no manifest (" << vmu::package::kManifestName << " or " << vmu::package::kOldManifestName << ")\n";
    return 0;
  }
  const std::string& m = listing.manifest;
  std::cout << "manifest " << listing.manifest_name << ":\n"
            << "  brings version        " << VersionText(m, key::kVer, key::kVerUpdate) << '\n'
            << "  needs at least        " << VersionText(m, key::kVerLow, key::kVerLowUpdate) << '\n';
  for (const ManifestKey& flag : {key::kClose, key::kConvert, key::kNewUpdate}) {
    const auto value = vmu::pack::ManifestValue(m, flag.name);
    std::cout << "  " << flag.name << std::string(22 - std::string(flag.name).size(), ' ')
              << (value ? *value : "(missing)") << '\n';
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::string(argv[1]) == "--list") return List(argv[2]);
    if (const int status = vmu::pack::RunSigningCommand(argc, argv); status >= 0) return status;
    if (argc == 3 && argv[1][0] != '-') return Pack(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::cerr << "vmu-pack: " << e.what() << '\n';
    return 1;
  }
  std::cerr << kUsage << vmu::pack::kSigningUsage;
  return 2;
}
