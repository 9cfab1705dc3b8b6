// vmu-pack SOURCE_FOLDER OUTPUT.VMU: checks the folder and writes the package.
// vmu-pack --list PACKAGE: shows a package's files and versions.
#include <cstdio>
#include <iostream>
#include <string>

#include "files/format_version.h"
#include "tools/pack/file_io.h"
#include "tools/pack/manifest.h"
#include "tools/pack/number_text.h"
#include "tools/pack/package_listing.h"
#include "tools/pack/package_writer.h"
#include "tools/pack/source_check.h"

namespace {

constexpr const char* kUsage =
    "usage: vmu-pack SOURCE_FOLDER OUTPUT.VMU   check the folder and write the package\n"
    "       vmu-pack --list PACKAGE             show the files and versions of a package\n";

int Pack(const std::string& folder, const std::string& output) {
  const vmu::pack::SourceCheck check = vmu::pack::CheckSourceFolder(folder);
  for (const std::string& warning : check.warnings)
    std::cerr << "vmu-pack: warning: " << warning << '\n';
  for (const std::string& problem : check.problems) std::cerr << "vmu-pack: " << problem << '\n';
  if (!check.problems.empty()) return 1;
  vmu::pack::WritePackage(vmu::pack::UnpackerBesideThisProgram(), check.files, output);
  std::cout << "vmu-pack: wrote " << output << " (" << check.files.size() << " files)\n";
  return 0;
}

// "01.03.02 / 0006" for a version pair as the wizard reads it, or the text
// that the wizard would stop at.
std::string VersionText(const std::string& manifest, const char* key, const char* default_key,
                        const char* update_key, const char* default_update) {
  const std::string version = vmu::pack::ManifestValue(manifest, key).value_or(default_key);
  const std::string update =
      vmu::pack::ManifestValue(manifest, update_key).value_or(default_update);
  const auto v = vmu::pack::ParseWholeNumber(version, INT32_MIN, INT32_MAX);
  const auto u = vmu::pack::ParseWholeNumber(update, INT32_MIN, INT32_MAX);
  const std::string pair = std::string(key) + "=" + version + ", " + update_key + "=" + update;
  if (!v || !u) return "not a number (" + pair + ")";
  return vmu::FormatVersion(static_cast<int>(*v), true, static_cast<int>(*u)) + "  (" + pair + ")";
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
    std::cout << "no manifest (" << vmu::pack::kManifestName << " or "
              << vmu::pack::kOldManifestName << ")\n";
    return 0;
  }
  const std::string& m = listing.manifest;
  std::cout << "manifest " << listing.manifest_name << ":\n"
            << "  brings version        " << VersionText(m, "Ver", "0", "VerUpdate", "0") << '\n'
            << "  needs at least        "
            << VersionText(m, "VerLow", "999999", "VerLowUpdate", "9999") << '\n';
  for (const char* key : {"Close", "Convert", "NewUpdate"}) {
    const auto value = vmu::pack::ManifestValue(m, key);
    std::cout << "  " << key << std::string(22 - std::string(key).size(), ' ')
              << (value ? *value : "(missing)") << '\n';
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::string(argv[1]) == "--list") return List(argv[2]);
    if (argc == 3 && argv[1][0] != '-') return Pack(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::cerr << "vmu-pack: " << e.what() << '\n';
    return 1;
  }
  std::cerr << kUsage;
  return 2;
}
