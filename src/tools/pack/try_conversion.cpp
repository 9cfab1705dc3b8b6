#include "tools/pack/try_conversion.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>

#include "conversion/conversion_texts.h"
#include "conversion/convert.h"
#include "files/conversion_log.h"
#include "package/bare_name.h"
#include "package/manifest_keys.h"
#include "package/package_files.h"
#include "platform/host/host_file_system.h"
#include "platform/mdb/mdb_jet_files.h"
#include "platform/sqlite/sqlite_databases.h"
#include "tools/pack/file_io.h"
#include "tools/pack/manifest.h"
#include "tools/pack/source_check.h"
#include "tools/pack/unpack.h"

namespace vmu::pack {

namespace {

namespace fs = std::filesystem;
namespace key = package::key;

// Where the copies go inside the temporary prefix, as the wizard lays them out.
constexpr const char* kDataDir = "C:\\Velmora\\";
constexpr const char* kUpdateDir = "C:\\Velmora\\Update\\";
constexpr const char* kDataFolder = "drive_c/Velmora";

class TempFolder {
 public:
  TempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vmu-try-XXXXXX";
    if (!::mkdtemp(pattern.data())) RaiseErrno("cannot make a temporary folder", pattern);
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The wizard's texts end their lines with CR LF; the terminal wants LF.
std::string ForTerminal(std::string text) {
  std::string out;
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

// What the wizard window would show, as lines: the status line and message boxes.
class PrintingDisplay : public QuietDisplay {
 public:
  explicit PrintingDisplay(std::ostream& out) : out_(out) {}
  void SetStatus(const std::string& text) override {
    if (!text.empty()) out_ << "  " << ForTerminal(text) << '\n';
  }
  void ShowMessage(const std::string& text) override { out_ << "message: " << ForTerminal(text) << '\n'; }

 private:
  std::ostream& out_;
};

void CopyFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec))
    throw PackError("cannot copy " + from + " to " + to + ": " + ec.message());
}

// The conversion opens the old database for reading only, so the original
// serves through a link where SQLite writes nothing beside it either: a
// database in rollback-journal mode (not WAL) without a journal to roll back.
bool ReadableInPlace(const std::string& path) {
  char header[20] = {};
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  const bool whole = std::fread(header, 1, sizeof header, file) == sizeof header;
  std::fclose(file);
  struct stat st {};
  return whole && std::memcmp(header, "SQLite format 3", 16) == 0 && header[18] == 1 && header[19] == 1 &&
         ::lstat((path + "-journal").c_str(), &st) != 0 && ::lstat((path + "-wal").c_str(), &st) != 0;
}

void PutOldDatabase(const std::string& old_db, const std::string& to) {
  if (ReadableInPlace(old_db)) {
    std::error_code ec;
    fs::create_symlink(fs::absolute(old_db), to, ec);
    if (!ec) return;
  }
  CopyFile(old_db, to);
}

// The package's files in the update folder.
void PutPackage(const std::string& package, const std::string& update) {
  struct stat st {};
  if (::stat(package.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    fs::create_directories(update);
    for (const SourceFile& file : PackageFiles(package)) CopyFile(file.host_path, update + "/" + file.name);
  } else {
    UnpackPackage(package, update);
  }
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f s", seconds);
  return text;
}

void PrintTables(const ConversionResult& result, std::ostream& out) {
  for (const TableCopy& table : result.tables) {
    out << table.tabelnaam << ": " << table.rows_read << " rows read, " << table.rows_written << " written, "
        << (table.set_based ? std::string("one statement")
                            : "row by row" + (table.row_path_reason.empty() ? "" : " (" + table.row_path_reason + ")"))
        << ", " << Seconds(table.seconds) << '\n';
  }
}

}  // namespace

int TryConversion(const std::string& package, const std::string& old_db, std::ostream& out) {
  struct stat st {};
  if (::stat(old_db.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) RaiseErrno("cannot read the old database", old_db);
  TempFolder temp;
  const std::string prefix = temp.path() + "/prefix";
  const std::string data = prefix + "/" + kDataFolder;
  const std::string update = data + "/Update";
  PutPackage(package, update);

  std::vector<std::string> names;
  for (const SourceFile& file : PackageFiles(update)) names.push_back(file.name);
  const std::optional<std::string> manifest_name = FindManifest(names);
  if (!manifest_name) throw PackError(package + ": no manifest (" + package::kManifestName + ")");
  const std::string manifest = ReadWholeFile(update + "/" + *manifest_name);
  const auto read = [&](const package::ManifestKey& k) {
    return ManifestValue(manifest, k.name).value_or(k.default_value);
  };
  if (read(key::kConvert) != "1") throw PackError(package + ": the manifest does not ask for a conversion (Convert=1)");

  ConversionSettings settings;
  settings.DataDir = kDataDir;
  settings.UpdateDir = kUpdateDir;
  settings.SetupIniName = *manifest_name;
  settings.ConvOldfile = settings.DataDir + read(key::kConvOldfile);
  settings.ConvNewfile = settings.UpdateDir + read(key::kConvNewfile);
  settings.ConvDatabase = read(key::kConvDatabase);
  settings.ConvDatabasePath = settings.UpdateDir + settings.ConvDatabase;
  settings.ConvFromVer = read(key::kConvFromVer);
  settings.ConvToVer = read(key::kConvToVer);
  // A name the conversion refuses is left to it, so that its own error shows.
  const std::string old_name = read(key::kConvOldfile);
  if (!old_name.empty() && !package::NameProblem(old_name)) PutOldDatabase(old_db, data + "/" + old_name);

  HostFileSystem files{DriveMap(prefix)};
  MdbJetFiles jet_files(files);
  SqliteDatabases databases(files, &jet_files);
  ConversionLog log(files, settings.DataDir);
  PrintingDisplay display(out);
  const ConversionResult result = Convert(settings, files, &databases, log, display);
  PrintTables(result, out);
  switch (result.outcome) {
    case ConversionResult::Outcome::Converted: out << "the conversion succeeds\n"; return 0;
    case ConversionResult::Outcome::Refused:
      out << "the conversion is refused:\n" << ForTerminal(result.text) << '\n';
      return 1;
    case ConversionResult::Outcome::Failed:
      out << "the conversion fails:\n" << ForTerminal(ConversionErrorText(result.error_description)) << '\n';
      return 1;
  }
  return 1;
}

}  // namespace vmu::pack
