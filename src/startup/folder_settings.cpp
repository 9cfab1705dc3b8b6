#include "startup/folder_settings.h"

#include "package/package_files.h"

namespace vmu {

void ShowFolderSettings(RunContext& ctx, WizardView& view, const std::string& ini_without_data_dir) {
  FolderSettings& folders = ctx.folders;
  folders.SetupIniName = package::kManifestName;
  folders.UpdateIniPath = folders.DataDir.empty() ? ini_without_data_dir : folders.DataDir + "Update.ini";
  view.SetText(Control::Label1_2, folders.ProgramDir + kCrLf + folders.DataDir);
}

}  // namespace vmu
