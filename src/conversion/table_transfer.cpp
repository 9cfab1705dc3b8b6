#include "conversion/table_transfer.h"

#include <vector>

#include "conversion/conversion_texts.h"
#include "conversion/database_names.h"
#include "conversion/field_values.h"
#include "files/utility.h"
#include "platform/error.h"
#include "wizard/frm_conversie.h"

namespace vmu {

namespace {

void StepProgress(WizardView& view) { view.SetProgressValue(view.ProgressValue() + 1); }

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
void EmptyTables(FrmConversie& form) {
  WizardState& s = form.state;
  WizardView& view = form.view;
  Recordset& control = *s.ControlRecords;
  while (!control.Eof()) {
    StepProgress(view);
    if (FieldIsTrue(control.Value("DeleteTarget"))) {
      const std::string table = ControlText(control, "tabelnaam");
      view.SetText(Control::Label2, "Leegmaken " + table);
      form.LogText("delete * from " + table);
      s.NewConn->Execute("delete * from " + table);
      view.Redraw();
    }
    control.MoveNext();
  }
}

// The transfer pass: copies each control row's query into its destination,
// in OrderUpdate order, with a notice per table.
void FillTables(FrmConversie& form) {
  WizardState& s = form.state;
  WizardView& view = form.view;
  Recordset& control = *s.ControlRecords;
  while (!control.Eof()) {
    StepProgress(view);
    const std::string table = ControlText(control, "tabelnaam");
    view.SetText(Control::Label2, "Overzetten " + table);
    view.Redraw();
    form.LogText("Overzetten " + table);
    view.Redraw();

    s.OldRecords = s.OldConn->Execute(ControlText(control, "query"));
    view.ShowNotice(ControlText(control, "TlsDescription") + kCrLf + kCrLf +
                    std::to_string(s.OldRecords->RecordCount()) + " records");
    s.NewRecords = s.NewConn->OpenForAdding(ControlText(control, "QueryDest"));
    try {
      CopyRows(*s.OldRecords, *s.NewRecords);
    } catch (...) {
      // Closing writes the rows added before the failing one; the failure
      // itself is what the user must see, so a second one is passed over.
      try {
        ClosedAndReleased(s.NewRecords);
      } catch (const std::exception&) {
      }
      throw;
    }
    ClosedAndReleased(s.NewRecords);
    ClosedAndReleased(s.OldRecords);
    control.MoveNext();
  }
}

}  // namespace

void TransferTables(FrmConversie& form) {
  WizardState& s = form.state;
  WizardView& view = form.view;

  view.SetText(Control::Label1_1, view.Text(Control::Label1_1) + kCrLf + ConversionTakesTimeText());

  s.ControlRecords = s.ConvConn->Execute("select * from TblTabels ORDER BY OrderDelete");
  view.SetProgressMax(static_cast<int>(2 * s.ControlRecords->RecordCount() + 2));
  view.SetProgressValue(0);
  view.SetVisible(Control::Pbr, true);
  EmptyTables(form);
  ClosedAndReleased(s.ControlRecords);

  s.ControlRecords = s.ConvConn->Execute("select * from TblTabels ORDER BY OrderUpdate");
  view.CreateNotice();
  FillTables(form);
  ClosedAndReleased(s.ControlRecords);

  view.SetVisible(Control::CancelButton, false);
  StepProgress(view);
  view.SetText(Control::Label2, "Kopiëren files");
  view.Redraw();

  s.NewConn->Close();
  s.OldConn->Close();
  s.ConvConn->Close();

  // The filled new database takes the old one's name inside the update
  // folder; the installation of the package's files then puts it in place.
  const std::string old_name =
      ReadIni(form.ctx, "Main", "ConvOldfile", "", "Update\\" + form.ctx.folders.SetupIniName);
  if (!IsBareFileName(old_name)) Raise(kBadFileName);
  form.ctx.fs.MoveFile(s.ConvNewfile, form.ctx.folders.DataDir + "Update\\" + old_name);

  StepProgress(view);
  view.SetText(Control::Label2, "");
  view.SetVisible(Control::Pbr, false);
}

}  // namespace vmu
