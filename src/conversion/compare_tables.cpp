#include "conversion/compare_tables.h"

#include "conversion/conversion_texts.h"
#include "conversion/field_values.h"
#include "platform/error.h"
#include "wizard/frm_conversie.h"

namespace vmu {

namespace {

constexpr int kCannotCreateObject = 429;

// The report only reads, so every database is opened for reading only.
void OpenForReading(RunContext& ctx, std::unique_ptr<Connection>& conn, const std::string& path) {
  if (!ctx.databases) Raise(kCannotCreateObject, "ActiveX component can't create object");
  if (!conn) conn = ctx.databases->NewConnection();
  if (conn->IsOpen()) conn->Close();
  conn->OpenReadOnly(ConnectionString(path));
}

void LogFields(FrmConversie& form, Recordset& records, const std::string& heading) {
  form.LogText(kCrLf + heading);
  for (int i = 0; i < records.FieldCount(); ++i) form.LogText(records.FieldName(i));
}

void CloseAll(WizardState& s) {
  // Record sets go before their connections.
  s.OldRecords.reset();
  s.NewRecords.reset();
  s.ControlRecords.reset();
  for (std::unique_ptr<Connection>* conn : {&s.OldConn, &s.NewConn, &s.ConvConn})
    if (*conn && (*conn)->IsOpen()) (*conn)->Close();
}

}  // namespace

void CmdCompareTables_Click(FrmConversie& form) {
  WizardState& s = form.state;
  try {
    OpenForReading(form.ctx, s.OldConn, s.ConvOldfile);
    OpenForReading(form.ctx, s.NewConn, s.ConvNewfile);
    OpenForReading(form.ctx, s.ConvConn, s.ConvDatabasePath);
    form.view.ShowMessage({"Analyse tabellen / OLD vs New op basis van conversie"});
    s.ControlRecords = s.ConvConn->Execute("select * from TblTabels ORDER BY tabelnaam");
    while (!s.ControlRecords->Eof()) {
      const std::string table = JoinedText(s.ControlRecords->Value("tabelnaam"));
      s.OldRecords = s.OldConn->Execute("Select * from " + table);
      LogFields(form, *s.OldRecords, "****************** Old DB, Table: " + table);
      s.NewRecords = s.NewConn->Execute("Select * from " + table);
      LogFields(form, *s.NewRecords, "****************** New DB, Table: " + table);
      s.ControlRecords->MoveNext();
    }
    CloseAll(s);
    form.view.ShowMessage({"Klaar, zie conversieLog.txt"});
  } catch (const VbError& e) {
    // The log keeps what was written; the program goes on.
    try {
      CloseAll(s);
    } catch (const VbError&) {
    }
    form.view.ShowMessage({e.description()});
  }
}

}  // namespace vmu
