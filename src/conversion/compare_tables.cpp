#include "conversion/compare_tables.h"

#include <memory>

#include "conversion/conversion_databases.h"
#include "conversion/conversion_texts.h"
#include "conversion/field_values.h"
#include "conversion/old_database_copy.h"
#include "platform/dialogs.h"
#include "platform/error.h"

namespace vmu {

namespace {

constexpr int kCannotCreateObject = 429;

using Report = ConversionDatabases;

// The report only reads, so every database is opened for reading only.
void OpenForReading(Databases* databases, std::unique_ptr<Connection>& conn, const std::string& path) {
  if (!databases) Raise(kCannotCreateObject, "ActiveX component can't create object");
  conn = databases->NewConnection();
  conn->OpenReadOnly(ConnectionString(path));
}

void LogFields(ConversionLog& log, Recordset& records, const std::string& heading) {
  log.Text(kCrLf + heading);
  for (int i = 0; i < records.FieldCount(); ++i) log.Text(records.FieldName(i));
}

void CloseAll(Report& r) {
  // Record sets go before their connections.
  r.OldRecords.reset();
  r.NewRecords.reset();
  r.ControlRecords.reset();
  for (std::unique_ptr<Connection>* conn : {&r.OldConn, &r.NewConn, &r.ConvConn})
    if (*conn && (*conn)->IsOpen()) (*conn)->Close();
}

}  // namespace

void CompareTables(const ConversionSettings& settings, Databases* databases, ConversionLog& log,
                   ConversionDisplay& display) {
  OldDatabaseCopy old_copy(databases);  // outlives the connections of the report
  Report r;
  try {
    if (std::optional<std::string> refusal = old_copy.Prepare(settings, log)) {
      display.ShowMessage(*refusal);
      return;
    }
    OpenForReading(databases, r.OldConn, old_copy.Path());
    OpenForReading(databases, r.NewConn, settings.ConvNewfile);
    OpenForReading(databases, r.ConvConn, settings.ConvDatabasePath);
    display.ShowMessage("Analyse tabellen / OLD vs New op basis van conversie");
    r.ControlRecords = r.ConvConn->Execute("select * from TblTabels ORDER BY tabelnaam");
    while (!r.ControlRecords->Eof()) {
      const std::string table = JoinedText(r.ControlRecords->Value("tabelnaam"));
      r.OldRecords = r.OldConn->Execute("Select * from " + table);
      LogFields(log, *r.OldRecords, "****************** Old DB, Table: " + table);
      r.NewRecords = r.NewConn->Execute("Select * from " + table);
      LogFields(log, *r.NewRecords, "****************** New DB, Table: " + table);
      r.ControlRecords->MoveNext();
    }
    CloseAll(r);
    display.ShowMessage("Klaar, zie conversieLog.txt");
  } catch (const VbError& e) {
    // The log keeps what was written; the program goes on.
    try {
      CloseAll(r);
    } catch (const VbError&) {
    }
    display.ShowMessage(e.description());
  }
}

}  // namespace vmu
