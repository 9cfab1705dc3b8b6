#include "conversion/table_transfer.h"

#include <chrono>
#include <vector>

#include "conversion/conversion_run.h"
#include "conversion/conversion_texts.h"
#include "conversion/database_names.h"
#include "conversion/field_values.h"
#include "conversion/progress_throttle.h"
#include "files/utility.h"
#include "platform/dialogs.h"
#include "platform/error.h"

namespace vmu {

namespace {

std::string ControlText(Recordset& control, const char* column) { return JoinedText(control.Value(column)); }

// Copies every row of the source into the destination, matching fields by
// name. The names are looked up once, on the first row (where a missing one
// fails, as it would on any row); the engine hands the rows' values over.
void CopyRows(Recordset& source, Recordset& destination, ProgressThrottle& progress, long& rows) {
  constexpr long kRowsBetweenLooks = 1024;
  if (source.Eof()) return;
  const int count = source.FieldCount();
  std::vector<int> places;
  for (int i = 0; i < count; ++i) places.push_back(destination.FieldIndex(source.FieldName(i)));
  destination.AddRowsFrom(source, places, rows, kRowsBetweenLooks, [&progress](long done) { progress.Rows(done); });
}

void ClosedAndReleased(std::unique_ptr<Recordset>& records) {
  if (!records) return;
  std::unique_ptr<Recordset> gone = std::move(records);
  gone->Close();
}

// The delete pass: empties the tables marked for it, in OrderDelete order.
void EmptyTables(ConversionRun& run) {
  ConversionDisplay& display = run.display;
  Recordset& control = *run.ControlRecords;
  while (!control.Eof()) {
    display.StepProgress();
    if (FieldIsTrue(control.Value("DeleteTarget"))) {
      const std::string table = ControlText(control, "tabelnaam");
      display.SetStatus("Leegmaken " + table);
      run.log.Text("delete * from " + table);
      run.NewConn->Execute("delete * from " + table);
      display.Redraw();
    }
    control.MoveNext();
  }
}

// The copy in one statement, where the engine can do it with the same
// result; false when it wrote nothing and the rows must go one by one.
bool CopyBySet(ConversionRun& run, const std::string& query, const std::string& destination, ProgressThrottle& progress,
               TableCopy& report) {
  if (run.settings.rows_one_by_one) return false;
  SetCopy copy{ConnectionString(run.old_database), query, destination, [&progress](long rows) { progress.Rows(rows); }};
  const SetCopyOutcome outcome = run.NewConn->CopyBySet(copy);
  report.row_path_reason = outcome.reason;
  if (!outcome.copied) return false;
  report.set_based = true;
  report.rows_read = progress.count();
  report.rows_written = outcome.rows;
  return true;
}

void CopyOneByOne(ConversionRun& run, const std::string& destination, ProgressThrottle& progress, TableCopy& report) {
  run.NewRecords = run.NewConn->OpenForAdding(destination);
  try {
    CopyRows(*run.OldRecords, *run.NewRecords, progress, report.rows_read);
  } catch (...) {
    // Closing writes the rows added before the failing one; the failure
    // itself is what the user must see, so a second one is passed over.
    try {
      report.rows_written = run.NewRecords->RecordCount();
      ClosedAndReleased(run.NewRecords);
    } catch (const std::exception&) {
    }
    throw;
  }
  report.rows_written = run.NewRecords->RecordCount();
  ClosedAndReleased(run.NewRecords);
}

// The transfer pass: copies each control row's query into its destination,
// in OrderUpdate order, with a notice per table.
void FillTables(ConversionRun& run) {
  ConversionDisplay& display = run.display;
  Recordset& control = *run.ControlRecords;
  while (!control.Eof()) {
    display.StepProgress();
    const std::string table = ControlText(control, "tabelnaam");
    display.SetStatus("Overzetten " + table);
    display.Redraw();
    run.log.Text("Overzetten " + table);
    display.Redraw();

    const auto started = std::chrono::steady_clock::now();
    const std::string query = ControlText(control, "query");
    run.OldRecords = run.OldConn->Execute(query);
    const long count = run.OldRecords->RecordCount();
    display.ShowNotice(ControlText(control, "TlsDescription") + kCrLf + kCrLf + std::to_string(count) + " records");
    TableCopy& report = run.tables.emplace_back();
    report.tabelnaam = table;
    ProgressThrottle progress(display, count);
    const std::string destination = ControlText(control, "QueryDest");
    if (!CopyBySet(run, query, destination, progress, report)) CopyOneByOne(run, destination, progress, report);
    report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ClosedAndReleased(run.OldRecords);
    control.MoveNext();
  }
}

// The filled new database takes the old one's name inside the update folder;
// the installation of the package's files then puts it in place. The name is
// read from the manifest again, as the manifest gives it.
void MoveToOldName(ConversionRun& run) {
  const ConversionSettings& settings = run.settings;
  const std::string update_folder = settings.DataDir + "Update\\";
  const std::string old_name = ReadIniAt(run.fs, update_folder + settings.SetupIniName, "Main", "ConvOldfile", "");
  if (!IsEmptyOrBareFileName(old_name)) Raise(kBadFileName);
  run.fs.MoveFile(settings.ConvNewfile, update_folder + old_name);
}

}  // namespace

void TransferTables(ConversionRun& run) {
  ConversionDisplay& display = run.display;
  display.AddToMainText(ConversionTakesTimeText());

  run.ControlRecords = run.ConvConn->Execute("select * from TblTabels ORDER BY OrderDelete");
  display.StartProgress(static_cast<int>(2 * run.ControlRecords->RecordCount() + 2));
  EmptyTables(run);
  ClosedAndReleased(run.ControlRecords);

  run.ControlRecords = run.ConvConn->Execute("select * from TblTabels ORDER BY OrderUpdate");
  display.PrepareNotice();
  FillTables(run);
  ClosedAndReleased(run.ControlRecords);

  display.HideCancel();
  display.StepProgress();
  display.SetStatus("Kopiëren files");
  display.Redraw();

  run.NewConn->Close();
  run.OldConn->Close();
  run.ConvConn->Close();

  MoveToOldName(run);

  display.StepProgress();
  display.SetStatus("");
  display.HideProgress();
}

}  // namespace vmu
