// A sample Velmora installation inside a fresh drive prefix, for the demo
// and the tests.
#pragma once

#include <string>

namespace vmu {

struct DemoPaths {
  std::string prefix;         // host folder of the drive prefix
  std::string program_dir;    // C:\Program Files\velmora\  (Windows form)
  std::string virtual_store;  // the program folder's VirtualStore copy (Windows form)
  std::string data_dir;       // where start-up will put the data files (Windows form)
  std::string documents;      // the user's documents, where the file dialog opens (Windows form)
  // A second installation outside the program-files folder, its own data
  // folder, for choosing another installation in the wizard (Windows form).
  std::string other_dir;
};

// Makes DIR/prefix with the installation; user is the Windows user name the
// wizard will run as. Raises a VbError when DIR/prefix already exists.
DemoPaths MakeDemoInstallation(const std::string& dir, const std::string& user);

// Where a Windows path of the demo prefix lies on this host.
std::string DemoHostPath(const DemoPaths& paths, const std::string& windows_path);

// Writes a whole host file of the demo; raises PackError when it cannot.
void WriteDemoFile(const std::string& host_path, const std::string& bytes);

}  // namespace vmu
