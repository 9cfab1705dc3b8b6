#include "conversion/convert.h"

#include <optional>

#include "conversion/conversion_texts.h"
#include "conversion/database_names.h"
#include "conversion/field_values.h"
#include "conversion/table_transfer.h"
#include "platform/error.h"
#include "wizard/frm_conversie.h"

namespace vmu {

namespace {

constexpr const char* kVersionQuery = "SELECT * FROM Tbl_About WHERE CurrentVersion=True";

constexpr int kCannotCreateObject = 429;

// What reading a field past the last row reports.
constexpr int kNoCurrentRecord = 3021;
constexpr const char* kNoCurrentRecordText =
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current "
    "record.";

// Which connections this call opened: only those are closed on the way out.
struct Opened {
  bool old_conn = false;
  bool new_conn = false;
  bool conv_conn = false;
};

enum class Outcome { Converted, Stopped };

std::optional<std::string> VersionOf(Recordset& records) {
  if (records.Eof()) Raise(kNoCurrentRecord, kNoCurrentRecordText);
  return FieldText(records.Value("Version"));
}

// A version without a value passes every comparison.
bool Differs(const std::optional<std::string>& version, const std::string& expected) {
  return version && *version != expected;
}

void OpenDatabase(RunContext& ctx, std::unique_ptr<Connection>& conn, const std::string& path, bool& opened,
                  bool read_only = false) {
  // Without a database engine the connection cannot be made.
  if (!ctx.databases) Raise(kCannotCreateObject, "ActiveX component can't create object");
  if (!conn) conn = ctx.databases->NewConnection();
  if (conn->IsOpen()) conn->Close();  // left open by an earlier call that failed on its way out
  if (read_only) conn->OpenReadOnly(ConnectionString(path));
  else conn->Open(ConnectionString(path));
  opened = true;
}

void Refuse(WizardState& s, bool buttons_blocked) {
  s.ButtonsBlocked = buttons_blocked;
  s.FailureFlag = true;
}

// The checks, then the transfer. A refusal returns Stopped; errors go on.
Outcome CheckAndTransfer(FrmConversie& form, Opened& opened) {
  WizardState& s = form.state;
  FileSystem& fs = form.ctx.fs;

  CheckDatabaseNames(s, form.ctx.folders);

  if (!fs.FileExists(s.ConvOldfile)) {
    s.ResultText = OldDatabaseMissingText(s.ConvOldfile);
    Refuse(s, true);
    return Outcome::Stopped;
  }
  if (s.ConvOldfile.size() < 3) Raise(kInvalidArgument);
  if (fs.FileExists(s.ConvOldfile.substr(0, s.ConvOldfile.size() - 3) + "ldb")) {
    s.ResultText = ApplicationOpenText();
    Refuse(s, false);
    return Outcome::Stopped;
  }
  if (!fs.FileExists(s.ConvNewfile)) {
    MessageBoxSpec message;
    message.text = NewDatabaseMissingMessage();
    form.view.ShowMessage(message);
    Refuse(s, true);
    return Outcome::Stopped;
  }

  // The user's own database is only read: a control-table query that would
  // change it fails instead.
  OpenDatabase(form.ctx, s.OldConn, s.ConvOldfile, opened.old_conn, true);
  OpenDatabase(form.ctx, s.NewConn, s.ConvNewfile, opened.new_conn);
  OpenDatabase(form.ctx, s.ConvConn, s.ConvDatabasePath, opened.conv_conn);

  s.OldRecords = s.OldConn->Execute(kVersionQuery);
  s.NewRecords = s.NewConn->Execute(kVersionQuery);

  const std::optional<std::string> old_version = VersionOf(*s.OldRecords);
  form.LogText("Check versie oude database: " + old_version.value_or("") +
               " versus te verwachtte versie: " + s.ConvFromVer);
  if (Differs(old_version, s.ConvFromVer)) {
    s.ResultText = *old_version == s.ConvToVer ? AlreadyConvertedText(s.ConvToVer)
                                                : WrongOldVersionText(*old_version, s.ConvFromVer);
    Refuse(s, true);
    return Outcome::Stopped;
  }

  const std::optional<std::string> new_version = VersionOf(*s.NewRecords);
  form.LogText("Check versie nieuwe database: " + new_version.value_or("") +
               " versus te verwachtte versie: " + s.ConvToVer);
  if (Differs(new_version, s.ConvToVer)) {
    s.ResultText = WrongNewVersionText(s.ConvToVer, *new_version);
    Refuse(s, true);
    return Outcome::Stopped;
  }

  std::unique_ptr<Recordset> version_rows = std::move(s.NewRecords);
  version_rows->Close();
  if (s.OldRecords) {
    std::unique_ptr<Recordset> old_rows = std::move(s.OldRecords);
    old_rows->Close();
  }

  TransferTables(form);
  return Outcome::Converted;
}

void ErrorPath(FrmConversie& form, const std::string& description) {
  WizardState& s = form.state;
  form.view.SetColor(Control::Label1_1, TextColor::Red);
  form.view.SetBold(Control::Label1_1, true);
  s.ResultText = ConversionErrorText(description);
  s.FailureFlag = true;
  s.ButtonsBlocked = true;
  form.view.SetEnabled(Control::CmdWizard_0, false);
  form.view.SetEnabled(Control::CmdWizard_1, false);
  form.LogText("Fout: " + description);
}

void CloseIfOpened(std::unique_ptr<Connection>& conn, bool opened) {
  if (opened && conn && conn->IsOpen()) conn->Close();
}

void ConvExit(FrmConversie& form, const Opened& opened) {
  WizardState& s = form.state;
  form.view.SetEnabled(Control::CmdWizard_0, !s.ButtonsBlocked);
  form.view.SetEnabled(Control::CmdWizard_1, !s.ButtonsBlocked);
  // Record sets go before their connections, which cannot close under them.
  s.OldRecords.reset();
  s.NewRecords.reset();
  s.ControlRecords.reset();
  CloseIfOpened(s.NewConn, opened.new_conn);
  CloseIfOpened(s.OldConn, opened.old_conn);
  CloseIfOpened(s.ConvConn, opened.conv_conn);
}

}  // namespace

void Convert(FrmConversie& form) {
  form.state.FailureFlag = false;
  Opened opened;
  Outcome outcome;
  try {
    outcome = CheckAndTransfer(form, opened);
  } catch (const VbError& e) {
    ErrorPath(form, e.description());
    outcome = Outcome::Stopped;
  } catch (const std::exception& e) {
    // Not one of the host's errors, yet the user's data must stay safe and
    // the wizard running: handled the same way.
    ErrorPath(form, e.what());
    outcome = Outcome::Stopped;
  }
  if (outcome == Outcome::Stopped) ConvExit(form, opened);
}

}  // namespace vmu
