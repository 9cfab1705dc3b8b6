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
  return SpecialFolder(number, ctx.host.user_name);
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

std::string BrowseForFile(RunContext& ctx, Dialogs& dialogs, const std::string& title,
                          const std::string& filter, std::string& folder,
                          const std::string& file_name) {
  std::string chosen;
  bool exists = false;
  try {
    chosen = dialogs.ShowOpenFile(FileDialogSpec{title, filter, folder, file_name});
    exists = !chosen.empty() && ctx.fs.FileExists(chosen);
  } catch (const VbError&) {
    // Cancelling, like any failure of the dialog, is an empty choice.
    exists = false;
  }
  if (!exists) {
    folder.clear();
    return "";
  }
  folder = DirectoryOfPath(chosen);
  return chosen;
}

std::string ResolveDataDir(RunContext& ctx, Dialogs& dialogs, std::string& program_folder,
                           ResolveStatus& status, std::string& missing_name) {
  FileSystem& fs = ctx.fs;
  if (program_folder.empty() || program_folder.back() != '\\') program_folder += '\\';

  if (program_folder.size() < 2 || program_folder[1] != ':') {
    MessageBoxSpec message;
    message.text = "Geen Directory";
    dialogs.ShowMessage(message);
    return "";
  }

  const std::string tail = program_folder.substr(2);
  std::vector<std::string> app_file_names;
  for (int position = 1; position <= kAppFileCount; ++position)
    app_file_names.push_back(AppFileName(position));

  // The platform redirects writes below the program-files folder, so the data
  // then lives in a per-user folder instead of beside the program.
  const std::vector<std::string> pieces = SplitAtBackslash(program_folder);
  const bool redirected = SameText(pieces[0] + "\\" + pieces[1], SpecialFolderPath(ctx, kProgramFilesFolder));

  std::string data_dir;
  std::string virtual_store_dir;
  if (!redirected) {
    data_dir = program_folder;
    for (int position = 1; position <= kAppFileCount; ++position) {
      const std::string& name = app_file_names[position - 1];
      if (fs.FileExists(data_dir + name)) continue;
      status = static_cast<ResolveStatus>(CheckMissingAppFile(dialogs, position));
      if (status == 1) {
        missing_name = name;
        break;
      }
    }
  } else {
    data_dir = SpecialFolderPath(ctx, kRoamingAppData) + "\\" + pieces[pieces.size() - 2] + "\\";
    virtual_store_dir = SpecialFolderPath(ctx, kLocalAppData) + "\\VirtualStore" + tail;
    if (fs.ListFiles(data_dir + "*.*").empty()) MakeFolderPath(ctx, dialogs, data_dir);

    for (int position = 1; position <= kAppFileCount; ++position) {
      if (!IsMigratedAppFile(position)) continue;
      const std::string& name = app_file_names[position - 1];
      if (fs.FileExists(data_dir + name)) continue;
      if (fs.FileExists(virtual_store_dir + name)) {
        fs.MoveFile(virtual_store_dir + name, data_dir + name);
      } else if (fs.FileExists(program_folder + name)) {
        fs.CopyFile(program_folder + name, data_dir + name);
      } else {
        status = static_cast<ResolveStatus>(CheckMissingAppFile(dialogs, position));
        if (status == 1) {
          missing_name = name;
          break;
        }
      }
    }
  }

  // Also after a missing required file: the backup list is brought up to
  // date before the caller ends the program.
  const std::string backup_list = data_dir + kBackupListName;
  RegisterBackupFiles(ctx, data_dir, backup_list);

  for (int position = 1; position <= kAppFileCount; ++position) {
    if (!IsRemovedAppFile(position)) continue;
    const std::string& name = app_file_names[position - 1];
    if (fs.FileExists(data_dir + name)) fs.DeleteFile(data_dir + name);
    if (!virtual_store_dir.empty() && fs.FileExists(virtual_store_dir + name))
      fs.DeleteFile(virtual_store_dir + name);
  }

  WriteIni(fs, backup_list, "Basic settings", "dirfrom", data_dir);
  return data_dir;
}

}  // namespace vmu
