#include "conversion/convert.h"

#include <optional>

#include "conversion/conversion_run.h"
#include "conversion/conversion_texts.h"
#include "conversion/database_names.h"
#include "conversion/field_values.h"
#include "conversion/old_database_copy.h"
#include "conversion/table_transfer.h"
#include "files/lock_file.h"
#include "platform/database.h"
#include "platform/error.h"

namespace vmu {

namespace {

using Outcome = ConversionResult::Outcome;

constexpr const char* kVersionQuery = "SELECT * FROM Tbl_About WHERE CurrentVersion=True";

constexpr int kCannotCreateObject = 429;

ConversionResult Refused(std::string text, bool buttons_blocked, bool as_message = false) {
  ConversionResult result;
  result.outcome = Outcome::Refused;
  result.text = std::move(text);
  result.as_message = as_message;
  result.buttons_blocked = buttons_blocked;
  return result;
}

ConversionResult Failed(int number, std::string description) {
  ConversionResult result;
  result.outcome = Outcome::Failed;
  result.error_number = number;
  result.error_description = std::move(description);
  result.buttons_blocked = true;
  return result;
}

std::optional<std::string> VersionOf(Recordset& records) {
  if (records.Eof()) Raise(kNoCurrentRecord, kNoCurrentRecordText);
  return FieldText(records.Value("Version"));
}

// A version without a value passes every comparison.
bool Differs(const std::optional<std::string>& version, const std::string& expected) {
  return version && *version != expected;
}

std::unique_ptr<Connection> OpenDatabase(Databases* databases, const std::string& path, bool read_only = false) {
  // Without a database engine the connection cannot be made.
  if (!databases) Raise(kCannotCreateObject, "ActiveX component can't create object");
  std::unique_ptr<Connection> conn = databases->NewConnection();
  if (read_only) conn->OpenReadOnly(ConnectionString(path));
  else conn->Open(ConnectionString(path));
  return conn;
}

// The user's database must be where the manifest says and not in use, and
// the package must hold the new one. No database is opened before these pass.
std::optional<ConversionResult> CheckFiles(ConversionRun& run) {
  const ConversionSettings& s = run.settings;
  if (!run.fs.FileExists(s.ConvOldfile)) return Refused(OldDatabaseMissingText(s.ConvOldfile), true);
  if (s.ConvOldfile.size() < 3) Raise(kInvalidArgument);
  // The application holds a lock file beside the database while it runs.
  if (run.fs.FileExists(LockFileBeside(s.ConvOldfile))) return Refused(ApplicationOpenText(), false);
  if (!run.fs.FileExists(s.ConvNewfile)) return Refused(NewDatabaseMissingMessage(), true, true);
  return std::nullopt;
}

void OpenDatabases(ConversionRun& run) {
  const ConversionSettings& s = run.settings;
  // The user's own database is only read: a control-table query that would
  // change it fails instead.
  run.OldConn = OpenDatabase(run.databases, run.old_database, true);
  run.NewConn = OpenDatabase(run.databases, s.ConvNewfile);
  run.ConvConn = OpenDatabase(run.databases, s.ConvDatabasePath);
}

// The user's database must have the version the conversion starts from, the
// new one the version it leads to. Both are logged before they are compared.
std::optional<ConversionResult> CheckVersions(ConversionRun& run) {
  const ConversionSettings& s = run.settings;
  run.OldRecords = run.OldConn->Execute(kVersionQuery);
  run.NewRecords = run.NewConn->Execute(kVersionQuery);

  const std::optional<std::string> old_version = VersionOf(*run.OldRecords);
  run.log.Text("Check versie oude database: " + old_version.value_or("") +
               " versus te verwachtte versie: " + s.ConvFromVer);
  if (Differs(old_version, s.ConvFromVer)) {
    return Refused(*old_version == s.ConvToVer ? AlreadyConvertedText(s.ConvToVer)
                                               : WrongOldVersionText(*old_version, s.ConvFromVer),
                   true);
  }

  const std::optional<std::string> new_version = VersionOf(*run.NewRecords);
  run.log.Text("Check versie nieuwe database: " + new_version.value_or("") +
               " versus te verwachtte versie: " + s.ConvToVer);
  if (Differs(new_version, s.ConvToVer)) return Refused(WrongNewVersionText(s.ConvToVer, *new_version), true);
  return std::nullopt;
}

void CloseVersionRows(ConversionRun& run) {
  std::unique_ptr<Recordset> version_rows = std::move(run.NewRecords);
  version_rows->Close();
  if (run.OldRecords) {
    std::unique_ptr<Recordset> old_rows = std::move(run.OldRecords);
    old_rows->Close();
  }
}

// The checks, then the transfer. A refusal is returned; errors go on.
ConversionResult CheckAndTransfer(ConversionRun& run, OldDatabaseCopy& old_copy) {
  CheckDatabaseNames(run.settings);
  if (std::optional<ConversionResult> refusal = CheckFiles(run)) return *refusal;
  if (std::optional<std::string> refusal = old_copy.Prepare(run.settings, run.log)) return Refused(*refusal, true);
  run.old_database = old_copy.Path();
  OpenDatabases(run);
  if (std::optional<ConversionResult> refusal = CheckVersions(run)) return *refusal;
  CloseVersionRows(run);
  TransferTables(run);
  return ConversionResult{};
}

void CloseIfOpen(std::unique_ptr<Connection>& conn) {
  if (conn && conn->IsOpen()) conn->Close();
}

// After a refusal or a failure. Record sets go before their connections,
// which cannot close under them.
std::exception_ptr CloseDatabases(ConversionRun& run) {
  try {
    run.OldRecords.reset();
    run.NewRecords.reset();
    run.ControlRecords.reset();
    CloseIfOpen(run.NewConn);
    CloseIfOpen(run.OldConn);
    CloseIfOpen(run.ConvConn);
  } catch (...) {
    return std::current_exception();
  }
  return nullptr;
}

}  // namespace

ConversionResult Convert(const ConversionSettings& settings, FileSystem& fs, Databases* databases, ConversionLog& log,
                         ConversionDisplay& display) {
  // Goes after the run, whose connections must be closed before the copy
  // they read is removed.
  OldDatabaseCopy old_copy(databases);
  ConversionRun run(settings, fs, databases, log, display);
  ConversionResult result;
  try {
    result = CheckAndTransfer(run, old_copy);
  } catch (const VbError& e) {
    result = Failed(e.number(), e.description());
  } catch (const std::exception& e) {
    // Not one of the host's errors, yet the user's data must stay safe and
    // the wizard running: handled the same way.
    result = Failed(0, e.what());
  }
  if (result.outcome != Outcome::Converted) result.closing_error = CloseDatabases(run);
  result.tables = std::move(run.tables);
  return result;
}

}  // namespace vmu
