#include "startup/mdl_directory.h"

#include <vector>

#include "files/same_text.h"
#include "files/utility.h"
#include "platform/error.h"
#include "platform/shell_folders.h"
#include "startup/mdl_check_app_files.h"

namespace vmu {

namespace {

constexpr int kRoamingAppData = 26;
constexpr int kLocalAppData = 28;

constexpr const char* kBackupListName = "VMbackuptool.ini";

}  // namespace

std::string SpecialFolderPath(RunContext& ctx, int number) {
  return SpecialFolder(number, ctx.host.user_name, ctx.host.prefix_folders);
}

void MakeFolderPath(RunContext& ctx, Dialogs& dialogs, const std::string& path) {
  std::string rest = path;
  if (!rest.empty() && rest.back() == '\\') rest.pop_back();
  if (rest.empty()) return;
  std::vector<std::string> pieces = SplitAtBackslash(rest);
  std::string current = pieces[0];
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    current += "\\" + pieces[i];
    try {
      if (!ctx.fs.FileExists(current)) ctx.fs.MakeFolder(current);
    } catch (const VbError& e) {
      if (e.number() == kPathFileAccessError) continue;  // the folder is there already
      MessageBoxSpec message;
      message.text = e.description();
      message.title = std::to_string(e.number());
      dialogs.ShowMessage(message);
      return;
    }
  }
}

std::string BrowseForFile(RunContext& ctx, Dialogs& dialogs, const std::string& title, const std::string& filter,
                          std::string& folder, const std::string& file_name) {
  std::string chosen;
  bool exists = false;
  try {
    chosen = dialogs.ShowOpenFile(FileDialogSpec{title, filter, folder, file_name});
    exists = !chosen.empty() && ctx.fs.FileExists(chosen);
  } catch (const VbError&) {
    // A dialog that fails to open gives no choice, as cancelling does.
    exists = false;
  }
  if (!exists) {
    folder.clear();
    return "";
  }
  folder = DirectoryOfPath(chosen);
  return chosen;
}

namespace {

// program_folder: with a drive and a trailing backslash.
// Windows redirects writes below either program-files folder of a 64-bit system.
bool IsRedirected(RunContext& ctx, const std::string& program_folder) {
  const std::vector<std::string> pieces = SplitAtBackslash(program_folder);
  for (const std::string& folder : ProgramFilesFolders(ctx.host.user_name, ctx.host.prefix_folders))
    if (SameText(pieces[0] + "\\" + pieces[1], folder)) return true;
  return false;
}

}  // namespace

std::string DataDirFor(RunContext& ctx, std::string program_folder) {
  if (program_folder.empty() || program_folder.back() != '\\') program_folder += '\\';
  if (program_folder.size() < 2 || program_folder[1] != ':') return "";
  if (!IsRedirected(ctx, program_folder)) return program_folder;
  const std::vector<std::string> pieces = SplitAtBackslash(program_folder);
  return SpecialFolderPath(ctx, kRoamingAppData) + "\\" + pieces[pieces.size() - 2] + "\\";
}

namespace {

// Shows the missing-file message for the file at position and records it.
// Returns true when the file was required, which ends the search.
bool NoteMissingAppFile(Dialogs& dialogs, int position, DataDirChoice& choice) {
  const int status = CheckMissingAppFile(dialogs, position);
  choice.optional_missing = status == 2;
  if (status != 1) return false;
  choice.missing_required = AppFileName(position);
  return true;
}

// The program keeps its data beside itself.
void CheckOwnFolder(RunContext& ctx, Dialogs& dialogs, DataDirChoice& choice) {
  choice.data_dir = DataDirFor(ctx, choice.program_folder);
  for (int position = 1; position <= kAppFileCount; ++position) {
    if (ctx.fs.FileExists(choice.data_dir + AppFileName(position))) continue;
    if (NoteMissingAppFile(dialogs, position, choice)) return;
  }
}

// The platform redirects writes below the program-files folder, so the data
// lives in a per-user folder: the files move there from the VirtualStore
// copy, or are copied from the program folder.
void MigrateToUserFolder(RunContext& ctx, Dialogs& dialogs, const std::string& virtual_store_dir,
                         DataDirChoice& choice) {
  FileSystem& fs = ctx.fs;
  choice.data_dir = DataDirFor(ctx, choice.program_folder);
  if (fs.ListFiles(choice.data_dir + "*.*").empty()) MakeFolderPath(ctx, dialogs, choice.data_dir);
  for (int position = 1; position <= kAppFileCount; ++position) {
    if (!IsMigratedAppFile(position)) continue;
    const std::string name = AppFileName(position);
    if (fs.FileExists(choice.data_dir + name)) continue;
    if (fs.FileExists(virtual_store_dir + name)) {
      fs.MoveFile(virtual_store_dir + name, choice.data_dir + name);
    } else if (fs.FileExists(choice.program_folder + name)) {
      fs.CopyFile(choice.program_folder + name, choice.data_dir + name);
    } else if (NoteMissingAppFile(dialogs, position, choice)) {
      return;
    }
  }
}

void RemoveRetiredAppFiles(FileSystem& fs, const std::string& data_dir, const std::string& virtual_store_dir) {
  for (int position = 1; position <= kAppFileCount; ++position) {
    if (!IsRemovedAppFile(position)) continue;
    const std::string name = AppFileName(position);
    if (fs.FileExists(data_dir + name)) fs.DeleteFile(data_dir + name);
    if (!virtual_store_dir.empty() && fs.FileExists(virtual_store_dir + name)) fs.DeleteFile(virtual_store_dir + name);
  }
}

}  // namespace

DataDirChoice ResolveDataDir(RunContext& ctx, Dialogs& dialogs, std::string program_folder) {
  DataDirChoice choice;
  if (program_folder.empty() || program_folder.back() != '\\') program_folder += '\\';
  choice.program_folder = program_folder;

  if (program_folder.size() < 2 || program_folder[1] != ':') {
    MessageBoxSpec message;
    message.text = "Geen Directory";
    dialogs.ShowMessage(message);
    return choice;
  }

  std::string virtual_store_dir;
  if (IsRedirected(ctx, program_folder)) {
    virtual_store_dir = SpecialFolderPath(ctx, kLocalAppData) + "\\VirtualStore" + program_folder.substr(2);
    MigrateToUserFolder(ctx, dialogs, virtual_store_dir, choice);
  } else {
    CheckOwnFolder(ctx, dialogs, choice);
  }

  // Also after a missing required file: the backup list is brought up to
  // date before the caller ends the program.
  const std::string backup_list = choice.data_dir + kBackupListName;
  RegisterBackupFiles(ctx, choice.data_dir, backup_list);
  RemoveRetiredAppFiles(ctx.fs, choice.data_dir, virtual_store_dir);
  WriteIni(ctx.fs, backup_list, "Basic settings", "dirfrom", choice.data_dir);
  return choice;
}

}  // namespace vmu
