// vmu-pack SOURCE_FOLDER OUTPUT.VMU: checks the folder and writes the package.
// vmu-pack --list PACKAGE: shows a package's files and versions.
// vmu-pack --keygen, --sign, --verify, --minisig: signatures (signing_commands.h).
// vmu-pack --try-conversion PACKAGE OLD_DB: the package's conversion on a copy.
// vmu-pack --jet-to-sqlite, --tables: Jet files as the conversion reads them.
// vmu-pack --feed FEED.json [--sign KEY] PACKAGE...: the update feed (feed_writer.h).
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli/command_line.h"
#include "files/format_version.h"
#include "package/manifest_keys.h"
#include "package/package_files.h"
#include "tools/pack/feed_writer.h"
#include "tools/pack/file_io.h"
#include "tools/pack/jet_sample.h"
#include "tools/pack/manifest.h"
#include "tools/pack/package_listing.h"
#include "tools/pack/package_writer.h"
#include "tools/pack/signing_commands.h"
#include "tools/pack/source_check.h"
#include "tools/pack/try_conversion.h"
#include "tools/pack/unpacker_location.h"

namespace {

namespace key = vmu::package::key;
using vmu::package::ManifestKey;

const vmu::cli::Program kProgram{
    "vmu-pack",
    std::string("usage: vmu-pack SOURCE_FOLDER OUTPUT.VMU   check the folder and write the package\n"
                "       vmu-pack --list PACKAGE             show the files and versions of a package\n") +
        vmu::pack::kSigningUsage +
        "       vmu-pack --feed FEED.json [--sign SECRET_KEY] [--days N] [--note TEXT] PACKAGE...\n"
        "                                 add or replace the packages in the update feed, raise its\n"
        "                                 serial, let it expire in N days (default 30) and sign it\n" +
        "       vmu-pack --try-conversion PACKAGE_OR_FOLDER OLD_DB\n"
        "                                 run the package's conversion on a copy of OLD_DB\n"
        "       vmu-pack --old-db OLD_DB SOURCE_FOLDER OUTPUT.VMU  (also with --sign SECRET_KEY FOLDER ...)\n"
        "                                 check the conversion on a sample of the old database too\n"
        "       vmu-pack --jet-to-sqlite JET_DB OUT   write the SQLite copy the conversion reads of a Jet file\n"
        "       vmu-pack --tables DATABASE            list tables, columns and types as the conversion sees them\n"};

// The sample of the user's database that packing checks the conversion on.
std::string old_db;

int Pack(const std::string& folder, const std::string& output) {
  const vmu::pack::SourceCheck check = vmu::pack::CheckSourceFolder(folder, old_db);
  for (const std::string& warning : check.warnings) std::cerr << "vmu-pack: warning: " << warning << '\n';
  for (const std::string& problem : check.problems) std::cerr << "vmu-pack: " << problem << '\n';
  if (!check.problems.empty()) return 1;
  vmu::pack::WritePackage(vmu::pack::FindUnpacker(), check.files, output);
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

// What vmu-pack does: the option that asks for it (none for packing), the
// operands it takes and what it says when they are not right.
struct Command {
  std::string option;
  std::size_t min_operands, max_operands;
  std::string wrong_operands;
  int (*run)(const std::vector<std::string>&);
};

// The signing commands take their words as a command line of their own.
int Signing(const char* option, const std::vector<std::string>& operands) {
  std::vector<std::string> words = {"vmu-pack", option};
  words.insert(words.end(), operands.begin(), operands.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  const int status = vmu::pack::RunSigningCommand(static_cast<int>(argv.size()), argv.data(), old_db);
  if (status < 0) return vmu::cli::UsageError(kProgram, std::string(option) + " takes other operands", std::cerr);
  return status;
}

const std::vector<Command> kCommands = {
    {"", 2, 2, "give SOURCE_FOLDER and OUTPUT.VMU", [](const auto& a) { return Pack(a[0], a[1]); }},
    {"--list", 1, 1, "--list takes one PACKAGE", [](const auto& a) { return List(a[0]); }},
    {"--keygen", 0, 2, "--keygen takes no files or PUBLIC_KEY SECRET_KEY",
     [](const auto& a) { return Signing("--keygen", a); }},
    {"--sign", 3, 3, "--sign takes SECRET_KEY SOURCE OUTPUT.VMU", [](const auto& a) { return Signing("--sign", a); }},
    {"--verify", 2, 2, "--verify takes PUBLIC_KEY PACKAGE", [](const auto& a) { return Signing("--verify", a); }},
    {"--minisig", 2, 2, "--minisig takes PACKAGE DATA", [](const auto& a) { return Signing("--minisig", a); }},
    {"--try-conversion", 2, 2, "--try-conversion takes PACKAGE_OR_FOLDER OLD_DB",
     [](const auto& a) { return vmu::pack::TryConversion(a[0], a[1], std::cout); }},
    {"--jet-to-sqlite", 2, 2, "--jet-to-sqlite takes JET_DB OUT",
     [](const auto& a) { return vmu::pack::JetToSqlite(a[0], a[1], std::cout); }},
    {"--tables", 1, 1, "--tables takes one DATABASE",
     [](const auto& a) { return vmu::pack::ListTables(a[0], std::cout); }},
};

constexpr const char* kOldDb = "--old-db";

// --feed has options of its own, among them --sign with a value.
int Feed(int argc, char** argv) {
  vmu::cli::Arguments args;
  const std::vector<vmu::cli::Option> options = {
      {"--feed", true}, {"--sign", true}, {"--days", true}, {"--note", true}};
  if (auto status = vmu::cli::Parse(kProgram, argc, argv, options, args, std::cout, std::cerr)) return *status;
  vmu::pack::FeedRequest request{args.Value("--feed"), args.Value("--sign"), args.operands};
  if (request.packages.empty())
    return vmu::cli::UsageError(kProgram, "--feed takes FEED.json and PACKAGE...", std::cerr);
  if (args.Has("--days")) {
    const auto days = vmu::package::ReadWholeNumber(args.Value("--days"), {1, 3650});
    if (!days.ok()) return vmu::cli::UsageError(kProgram, "--days takes a number from 1 to 3650", std::cerr);
    request.days = static_cast<int>(days.value);
  }
  request.note = args.Value("--note");
  request.note_given = args.Has("--note");
  try {
    const vmu::package::UpdateFeed feed = vmu::pack::UpdateFeedFile(request);
    std::cout << "vmu-pack: wrote " << request.feed << " (serial " << feed.serial << ", " << feed.packages.size()
              << " packages, expires " << vmu::package::UtcTimeText(feed.expires) << ")"
              << (request.secret_key.empty() ? ", not signed: the wizard refuses it" : ", signed") << '\n';
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "vmu-pack: " << e.what() << '\n';
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--") break;
    if (word == "--feed" || word.starts_with("--feed=")) return Feed(argc, argv);
  }
  std::vector<vmu::cli::Option> options;
  for (const Command& command : kCommands) {
    if (!command.option.empty()) options.push_back({command.option});
  }
  options.push_back({kOldDb, true});
  vmu::cli::Arguments args;
  if (auto status = vmu::cli::Parse(kProgram, argc, argv, options, args, std::cout, std::cerr)) return *status;
  old_db = args.Value(kOldDb);
  std::vector<std::string> commands;
  for (const auto& [option, value] : args.options)
    if (option != kOldDb) commands.push_back(option);
  if (commands.size() > 1) return vmu::cli::UsageError(kProgram, "one command at a time", std::cerr);
  const std::string chosen = commands.empty() ? "" : commands.front();
  if (args.Has(kOldDb) && chosen != "" && chosen != "--sign")
    return vmu::cli::UsageError(kProgram, "--old-db goes with packing a folder only", std::cerr);
  for (const Command& command : kCommands) {
    if (command.option != chosen) continue;
    if (args.operands.size() < command.min_operands || args.operands.size() > command.max_operands) {
      return vmu::cli::UsageError(kProgram, command.wrong_operands, std::cerr);
    }
    try {
      return command.run(args.operands);
    } catch (const std::exception& e) {
      std::cerr << "vmu-pack: " << e.what() << '\n';
      return 1;
    }
  }
  return vmu::cli::UsageError(kProgram, "unknown command", std::cerr);
}
