// The installation of the package's files, with the replaced files kept in
// the backup folders ConversieBackup-1 (program folder) and -2 (data folder).
#pragma once

namespace vmu {

class FrmConversie;
class InstallProgress;

// True when the application is closed (no lock file beside its database).
// Otherwise asks the user to close it, sets Step back so that the next
// "Volgende >>" runs step 3 again, and returns false.
bool ApplicationClosed(FrmConversie& form);

// Empties the backup folders, installs every entry of FileList.VML and
// records the package's update number in VM.ini. A missing list sets the
// refusal instead. From the first entry on, an error is an installation
// error: the press's error handling restores the previous files. Each phase
// moves the progress bar, which the result page's clean-up then finishes.
void InstallFiles(FrmConversie& form, InstallProgress& progress);

}  // namespace vmu
