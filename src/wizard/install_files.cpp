#include "wizard/install_files.h"

#include <algorithm>
#include <exception>
#include <set>

#include "files/backup_folders.h"
#include "files/backup_record.h"
#include "files/checksum.h"
#include "files/conversion_log.h"
#include "files/copy_with_backup.h"
#include "files/format_version.h"
#include "files/lock_file.h"
#include "files/space_check.h"
#include "files/trusted_paths.h"
#include "files/update_journal.h"
#include "files/utility.h"
#include "files/version_update.h"
#include "package/file_list.h"
#include "package/package_files.h"
#include "platform/ascii.h"
#include "platform/error.h"
#include "wizard/file_list_entries.h"
#include "wizard/frm_conversie.h"
#include "wizard/install_progress.h"

namespace vmu {

namespace {

struct Plan {
  std::vector<InstallEntry> entries;
  std::vector<PlannedCopy> copies;  // by entry, installed locations only
  std::exception_ptr list_error;    // a damaged list: an installation error once installing starts
};

Plan PlanInstallation(FrmConversie& form, const std::string& list_path) {
  RunContext& ctx = form.ctx;
  const WizardState& s = form.state;
  const std::string folders[3] = {"", ctx.folders.ProgramDir, ctx.folders.DataDir};
  Plan plan;
  if (!ctx.fs.FileExists(list_path)) return plan;
  try {
    plan.entries = ReadInstallEntries(ctx.fs.ReadBytes(list_path), form.press.InstallingEntry);
  } catch (const VbError&) {
    plan.list_error = std::current_exception();
    return plan;
  }
  for (const InstallEntry& entry : plan.entries) {
    if (!package::IsInstalledLocation(entry.location)) continue;
    PlannedCopy copy;
    copy.source = s.UpdateDir + entry.name;
    copy.target = folders[entry.location] + entry.name;
    copy.backup = BackupFolder(ctx.folders.DataDir, entry.location) + entry.name;
    copy.replaces = ctx.fs.FileExists(copy.target);
    // What the conversion made in the update folder was never in the check.
    if (const auto it = s.UnpackedIdentity.find(AsciiUpper(entry.name)); it != s.UnpackedIdentity.end())
      copy.identity = it->second;
    plan.copies.push_back(copy);
  }
  return plan;
}

// What the installation will do, before it does any of it.
UpdateJournal InstallJournal(FrmConversie& form, const Plan& plan) {
  RunContext& ctx = form.ctx;
  const WizardState& s = form.state;
  UpdateJournal journal;
  journal.kind = kInstallKind;
  journal.package = s.UpdateDir + " (versie " + FormatVersion(s.Ver, true, s.VerUpdate) + ")";
  journal.program_dir = ctx.folders.ProgramDir;
  journal.data_dir = ctx.folders.DataDir;
  journal.version_update = ReadVersionUpdate(ctx.fs, ctx.folders.DataDir);
  journal.phase = kPhaseFiles;
  journal.record = kRecordNone;  // removed with the old backups; the new one is written after the journal
  std::set<std::string> seen;
  for (const PlannedCopy& copy : plan.copies) {
    // A name listed twice is kept once: the first time it is what was there before.
    if (!seen.insert(AsciiUpper(copy.target)).second) continue;
    if (copy.replaces)
      journal.replaced.push_back(
          {copy.target, copy.backup, ctx.fs.FileMode(copy.target), Checksum(ctx.fs.ReadBytes(copy.target))});
    else journal.added.push_back(copy.target);
  }
  return journal;
}

}  // namespace

bool ApplicationClosed(FrmConversie& form) {
  if (!form.ctx.fs.FileExists(DatabaseLockFile(form.ctx.folders.DataDir))) return true;
  form.LogText("Applicatie moet worden afgesloten");
  form.view.SetBold(Control::Label1_1, true);
  form.view.SetText(Control::Label1_1,
                    std::string("Voor deze upgrade dient Velmora afgesloten te worden alvorens verder te gaan. "
                                "Ga naar Velmora en sluit af") +
                        kCrLf + kCrLf + kCrLf + "Daarna kunt u met de knop VOLGENDE de installatie afmaken");
  form.state.Step = static_cast<int16_t>(form.state.Step - 1);
  return false;
}

void InstallFiles(FrmConversie& form, InstallProgress& progress) {
  RunContext& ctx = form.ctx;
  WizardState& s = form.state;
  const std::string& data_dir = ctx.folders.DataDir;
  const std::string list_path = s.UpdateDir + package::kFileListName;

  // Room for everything first: a full disk is refused before anything changes.
  const Plan plan = PlanInstallation(form, list_path);
  const std::string shortage = FreeSpaceShortage(ctx.fs, plan.copies);
  if (!shortage.empty()) {
    s.FailureFlag = true;
    s.ResultText = shortage;
    form.LogText("Onvoldoende schijfruimte: " + shortage);
    return;
  }

  RefuseOwnLinks(ctx.fs, data_dir);
  // The record describes the backups about to be emptied: it goes first.
  RemoveBackupRecord(ctx.fs, data_dir);
  for (s.DirIndex = 1; s.DirIndex <= 2; ++s.DirIndex) {
    s.BackupDir[s.DirIndex] = BackupFolder(data_dir, s.DirIndex);
    form.CheckDir(s.BackupDir[s.DirIndex]);
    // CheckDir only reports a folder it could not empty. Old backups left
    // among the new ones would be put back by a restore over newer files.
    if (!ctx.fs.ListFiles(s.BackupDir[s.DirIndex]).empty()) Raise(kPathFileAccessError);
  }

  if (!ctx.fs.FileExists(list_path)) {
    s.FailureFlag = true;
    form.LogText("Kan " + list_path + " niet vinden");
    s.ResultText = std::string(
                       "In het updatebestand kan de Velmora listing niet gevonden worden, dit duidt op een "
                       "oude updatefile. ") +
                   kCrLf + "Druk op annuleren om de upgrade af te breken. U kunt weer verder met Velmora. " + kCrLf +
                   "Druk op Vorige om eventueel een andere updatefile te selecteren";
    return;
  }
  form.press.Installing = true;
  if (plan.list_error) std::rethrow_exception(plan.list_error);

  // Before the first file changes: the journal that lets the next start undo
  // a broken-off installation, and the record that lets a roll-back undo a
  // finished one.
  const UpdateJournal journal = InstallJournal(form, plan);
  FlushLog(ctx);  // what led here survives with the journal
  WriteJournal(ctx.fs, journal);
  WriteBackupRecord(ctx.fs, data_dir, BackupRecord{journal.version_update, journal.added});

  // Every file that will be replaced first gets its second name in a backup
  // folder, and those names reach the disk together: from then on no crash
  // can take a previous version, and each replacement is a single rename.
  const int copies = static_cast<int>(plan.copies.size());
  const int replaces = static_cast<int>(
      std::count_if(plan.copies.begin(), plan.copies.end(), [](const PlannedCopy& c) { return c.replaces; }));
  const int synced_folders = 4;
  progress.Start({replaces, copies, copies + synced_folders, static_cast<int>(ctx.fs.ListFiles(s.UpdateDir).size())});
  progress.Begin(InstallPhase::Keep);
  std::size_t copy = 0;
  for (const InstallEntry& entry : plan.entries) {
    if (!package::IsInstalledLocation(entry.location)) continue;
    const PlannedCopy& planned = plan.copies[copy++];
    form.press.InstallingEntry = entry.name;
    if (planned.replaces) {
      KeepPrevious(ctx.fs, planned.target, planned.backup);
      progress.Step();
    }
  }
  for (int location = 1; location <= 2; ++location) ctx.fs.SyncFolder(s.BackupDir[location]);

  progress.Begin(InstallPhase::Copy);
  copy = 0;
  for (const InstallEntry& entry : plan.entries) {
    if (!package::IsInstalledLocation(entry.location)) continue;
    const PlannedCopy& planned = plan.copies[copy++];
    form.press.InstallingEntry = entry.name;
    ReplaceKept(ctx, planned.replaces ? planned.backup : std::string(), planned.source, planned.target,
                planned.identity);
    progress.Step();
  }

  // Every new file and every name reaches the disk before the update is
  // recorded as installed; the journal goes last. The files are flushed
  // together here rather than one by one: until the journal is gone a crash
  // restores them from the backups, whose names were made durable before
  // each file was replaced, and the disk can write them all at once.
  progress.Begin(InstallPhase::Flush);
  constexpr std::size_t kBatch = 128;  // one commit for many files, and still a moving bar
  for (std::size_t first = 0; first < plan.copies.size(); first += kBatch) {
    std::vector<std::string> batch;
    for (std::size_t i = first; i < std::min(first + kBatch, plan.copies.size()); ++i)
      batch.push_back(plan.copies[i].target);
    ctx.fs.SyncFiles(batch);
    for (std::size_t i = 0; i < batch.size(); ++i) progress.Step();
  }
  for (const std::string& folder : {ctx.folders.ProgramDir, data_dir, s.BackupDir[1], s.BackupDir[2]}) {
    ctx.fs.SyncFolder(folder);
    progress.Step();
  }
  WriteVersionUpdate(ctx.fs, data_dir, std::to_string(s.VerUpdate));
  FlushLog(ctx);
  RemoveJournal(ctx.fs, data_dir);
}

}  // namespace vmu
