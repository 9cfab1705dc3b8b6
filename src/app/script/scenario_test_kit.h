// What the end-to-end scenarios share: a session of the script driver, the
// standard installation with the files of its update, a package that unpacks
// them, and the files of a prefix to compare before and after.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "app/script/script_runner.h"
#include "testing/fault_file_system.h"
#include "testing/sealed_package.h"
#include "testing/temp_dir.h"
#include "testing/test_prefix.h"
#include "tools/demo/demo_installation.h"
#include "tools/demo/demo_keys.h"
#include "tools/demo/demo_packages.h"

namespace vmu::scenario {

inline const std::string kProg = "C:\\Program Files\\velmora\\";
inline const std::string kData = "C:\\users\\anna\\AppData\\Roaming\\velmora\\";
inline const std::string kPackage = "C:\\pakket\\upd.VMU";

struct Session {
  int status;
  std::string out;
  bool Has(const std::string& line) const { return out.find(line + "\n") != std::string::npos; }
};

// One run of the driver as user anna on `prefix`: "start" (unless `started`
// is false, for scripts that start it themselves), then the script.
inline Session Run(const std::string& prefix, const std::string& script, const ScriptOptions& options = {},
                   bool started = true) {
  setenv("USER", "anna", 1);
  std::istringstream in("prefix " + prefix + "\n" + (started ? "start\n" : "") + script);
  std::ostringstream out;
  const int status = RunScript(in, out, nullptr, options);
  return {status, out.str()};
}

// A run on the file system that `wrap` lays over the host's; a run that
// crashes ends as a killed process does, with status -1 and no transcript.
inline Session RunOn(const std::string& prefix, const std::string& script,
                     const std::function<FileSystem*(FileSystem&)>& wrap, bool started) {
  ScriptOptions options;
  options.file_system = wrap;
  try {
    return Run(prefix, script, options, started);
  } catch (const testing::Crashed&) {
    return {-1, ""};
  }
}

// A program built beside the test program.
inline std::string Tool(const std::string& name) {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

// A package that is a program copying the host folder `source` into the
// host folder `update`, as the real unpacker fills the Update folder.
template <class Prefix>  // a TestPrefix or a WinePrefix
void WriteUnpackingPackage(Prefix& p, const std::string& path, const std::string& source, const std::string& update) {
  p.Write(path, testing::CopyingPackage(source, update));
  chmod(p.Host(path).c_str(), 0755);
}

// Velmora under Program Files with its data in the roaming folder, and the
// package kPackage of an update that replaces VM.EXE and Factuur.ini (each
// with a mode of its own, to be kept) and adds Nieuw.dll (Extra.txt,
// location 3, is passed over).
struct StandardInstallation {
  StandardInstallation() {
    p.Write(kProg + "VM.EXE", "#!/bin/sh\necho oud\n");
    chmod(p.Host(kProg + "VM.EXE").c_str(), 0750);
    for (const std::string& folder : {kProg, kData}) {
      p.Write(folder + "VM_DBv01.mdb", "db");
      p.Write(folder + "RptDB97.mdb", "rpt");
    }
    p.Write(kData + "VM.ini", "[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n");
    p.Write(kData + "Factuur.ini", "oud factuur\r\n");
    chmod(p.Host(kData + "Factuur.ini").c_str(), 0640);
    p.Write("C:\\users\\anna\\Documents\\brief.txt", "");
    for (const auto& [name, bytes] : std::map<std::string, std::string>{
             {"VM.EXE", "#!/bin/sh\necho nieuw\n"},
             {"Factuur.ini", "nieuw factuur\r\n"},
             {"Nieuw.dll", "dll"},
             {"Extra.txt", "niet installeren"},
             {"installatieV2.ini", "[Main]\r\nVer=10302\r\nVerUpdate=6\r\nVerLow=10302\r\nVerLowUpdate=5\r\n"},
             {"FileList.VML", "\"VM.EXE\",1\r\n\"Extra.txt\",3\r\n\"Nieuw.dll\",1\r\n\"Factuur.ini\",2\r\n"}})
      testing::WriteHostFile(source + "/" + name, bytes);
    WriteUnpackingPackage(p, kPackage, source, p.Host(kData + "Update"));
  }
  Session Run(const std::string& script) { return scenario::Run(p.prefix(), script); }
  std::string Log() { return p.Read(kData + "ConversieLog.TXT"); }

  testing::TestPrefix p;
  std::string source = p.prefix() + "/bron";
};

// The demo installation of anna, trusting the demo supplier's key, and the
// demo packages signed with it.
struct SignedDemo {
  SignedDemo() : paths(MakeDemoInstallation(dir.path(), "anna")), keys(MakeDemoKeys(dir.path())) {
    InstallDemoTrustedKeys(paths, keys);
    packages = MakeDemoPackages(dir.path(), Tool("vmu-unpacker"), &keys);
  }
  std::string Documents() const { return DemoHostPath(paths, paths.documents); }
  std::string Data() const { return paths.prefix + "/drive_c/users/anna/AppData/Roaming/velmora/"; }
  // A run that must end well; its transcript.
  std::string Run(const std::string& script) {
    const Session run = scenario::Run(paths.prefix, script);
    EXPECT_EQ(run.status, 0) << run.out;
    return run.out;
  }

  testing::TempDir dir;
  DemoPaths paths;
  DemoKeys keys;
  std::vector<DemoPackage> packages;
};

// A file's bytes and permission bits, to compare before and after.
struct FileState {
  std::string bytes;
  int mode;  // -1: missing
  bool operator==(const FileState&) const = default;
};

inline FileState State(testing::TestPrefix& p, const std::string& path) {
  struct stat st;
  if (stat(p.Host(path).c_str(), &st) != 0) return {"", -1};
  if (!S_ISREG(st.st_mode)) return {"(map)", -1};
  return {p.Read(path), static_cast<int>(st.st_mode & 0777)};
}

// Every file under the host folder with its bytes.
inline std::map<std::string, std::string> Files(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files[entry.path().string()] = testing::ReadHostFile(entry.path().string());
  return files;
}

}  // namespace vmu::scenario
