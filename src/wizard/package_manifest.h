// The unpacked package's manifest ("installatieV2.ini", or "installatie.ini"
// in older packages) and the installed version from VM.ini.
#pragma once

namespace vmu {

class FrmConversie;

// Looks for "installatieV2.ini" first on every visit, then "installatie.ini",
// and sets SetupIniName to the one found. When neither is there it sets the
// refusal (FailureFlag, ResultText, a log line) and returns false.
bool FindManifest(FrmConversie& form);

// Reads "Version" and "VersionUpdate" from VM.ini, then the manifest's keys
// in their fixed order, each with its default (which a missing key gets
// written into its file). Raises 13 or 6 for a value that is not a number of
// its type.
void ReadPackageSettings(FrmConversie& form);

}  // namespace vmu
