#include "conversion/table_transfer.h"

#include <vector>

#include "conversion/conversion_run.h"
#include "conversion/conversion_texts.h"
#include "conversion/database_names.h"
#include "conversion/field_values.h"
#include "files/utility.h"
#include "platform/dialogs.h"
#include "platform/error.h"

namespace vmu {

namespace {

std::string ControlText(Recordset& control, const char* column) { return JoinedText(control.Value(column)); }

// Copies every row of the source into the destination, matching fields by
// name. The names are read once: they are the same for every row.
void CopyRows(Recordset& source, Recordset& destination) {
  const int count = source.FieldCount();
  std::vector<std::string> names;
  names.reserve(count);
  for (int i = 0; i < count; ++i) names.push_back(source.FieldName(i));
  while (!source.Eof()) {
    destination.AddNew();
    for (int i = 0; i < count; ++i) destination.SetValue(names[i], source.Value(i));
    destination.Update();
    source.MoveNext();
  }
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

    run.OldRecords = run.OldConn->Execute(ControlText(control, "query"));
    display.ShowNotice(ControlText(control, "TlsDescription") + kCrLf + kCrLf +
                       std::to_string(run.OldRecords->RecordCount()) + " records");
    run.NewRecords = run.NewConn->OpenForAdding(ControlText(control, "QueryDest"));
    try {
      CopyRows(*run.OldRecords, *run.NewRecords);
    } catch (...) {
      // Closing writes the rows added before the failing one; the failure
      // itself is what the user must see, so a second one is passed over.
      try {
        ClosedAndReleased(run.NewRecords);
      } catch (const std::exception&) {
      }
      throw;
    }
    ClosedAndReleased(run.NewRecords);
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
  if (!IsBareFileName(old_name)) Raise(kBadFileName);
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
