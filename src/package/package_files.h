// The files of an update package that the wizard looks for by name in the
// folder the package was unpacked into.
#pragma once

namespace vmu::package {

// The manifest; packages of the older kind carry only kOldManifestName.
inline constexpr const char* kManifestName = "installatieV2.ini";
inline constexpr const char* kOldManifestName = "installatie.ini";

// The list of files to install.
inline constexpr const char* kFileListName = "FileList.VML";

// The supplier's trusted keys, in the program folder: one minisign public key
// a line, '#' comments. A signed update may bring a new one.
inline constexpr const char* kTrustedKeysName = "UpdateSleutels.txt";

}  // namespace vmu::package
