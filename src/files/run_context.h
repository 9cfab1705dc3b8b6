// What every part of the logic shares for the whole run: the host and the
// global folder settings.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/host_info.h"
#include "platform/installation_lock.h"
#include "platform/network.h"
#include "platform/package_checker.h"
#include "platform/processes.h"
#include "platform/signature_checker.h"

namespace vmu {

class Databases;

// Fixed by start-up; replaced only when the user picks another installation.
struct FolderSettings {
  std::string ProgramDir;     // folder of VM.EXE, ends with a backslash
  std::string DataDir;        // folder of the data files, ends with a backslash (or empty)
  std::string UpdateIniPath;  // DataDir & "Update.ini"
  std::string SetupIniName;   // file name of the package manifest
  std::string PackageDir;     // folder of the package chosen last
};

struct RunContext {
  RunContext(FileSystem& f, Processes& p, HostInfo h = {}) : fs(f), processes(p), host(std::move(h)) {}
  FileSystem& fs;
  Processes& processes;
  HostInfo host;
  FolderSettings folders;
  Databases* databases = nullptr;  // the database engine, for the conversion
  // Checks a chosen package before it is copied or started; none: unchecked.
  PackageChecker* packages = nullptr;
  // Keeps a second wizard off the installation this one works on; none in
  // runs that need no guard.
  InstallationLock* lock = nullptr;
  // The update feed: fetching it and its packages, and checking its
  // signature. None: the wizard does not search.
  Network* network = nullptr;
  SignatureChecker* signatures = nullptr;
  // A service build or session: shows the buttons for the table comparison
  // and the special folders, which the wizard keeps from users.
  bool maintenance = false;
};

}  // namespace vmu
