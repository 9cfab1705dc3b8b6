#include "tools/demo/demo_installation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/error.h"
#include "platform/host/host_file_system.h"
#include "platform/sqlite/sqlite_exec.h"
#include "tools/pack/file_io.h"

namespace vmu {

namespace {

// The application's database as the installed version leaves it.
constexpr const char* kVelmoraDatabase = R"sql(
CREATE TABLE Tbl_About (ID INTEGER PRIMARY KEY, Version TEXT, CurrentVersion INTEGER NOT NULL DEFAULT 0);
INSERT INTO Tbl_About VALUES (1, '5.1', 0), (2, '5.2', 1);
CREATE TABLE Tbl_Relaties (RelatieID INTEGER PRIMARY KEY, Naam TEXT, Plaats TEXT, Debiteur INTEGER);
INSERT INTO Tbl_Relaties VALUES (1, 'Bakkerij De Korenaar', 'Utrecht', 1),
  (2, 'Fietsenmaker Jansen', 'Zwolle', 1), (3, 'Drukkerij Van Dijk', 'Gouda', 0);
CREATE TABLE Tbl_Boekingen (BoekingID INTEGER PRIMARY KEY, RelatieID INTEGER, Datum TEXT,
  Omschrijving TEXT, Bedrag NUMERIC);
INSERT INTO Tbl_Boekingen VALUES (1, 1, '2026-03-02', 'Factuur 2026-014', 1250.00),
  (2, 2, '2026-03-09', 'Factuur 2026-015', 349.95), (3, 3, '2026-03-15', 'Inkoop papier', -87.50),
  (4, 1, '2026-02-20', 'Factuur 2026-009', 410.00);
-- Eigen: the user's own accounts. Yes is 1, or -1 where Jet itself wrote the row.
CREATE TABLE Tbl_Grootboek (Rekening TEXT PRIMARY KEY, Omschrijving TEXT, Eigen INTEGER NOT NULL DEFAULT 0);
INSERT INTO Tbl_Grootboek VALUES ('0100', 'Kas', 0), ('1300', 'Debiteuren', 0), ('8000', 'Omzet', 0),
  ('4610', 'Kantinekosten', 1), ('4620', 'Lief en leed', -1);
)sql";

constexpr const char* kReportDatabase = R"sql(
CREATE TABLE Tbl_About (ID INTEGER PRIMARY KEY, Version TEXT, CurrentVersion INTEGER NOT NULL DEFAULT 0);
INSERT INTO Tbl_About VALUES (1, '1.4', 1);
CREATE TABLE Tbl_Rapporten (RapportID INTEGER PRIMARY KEY, Naam TEXT);
INSERT INTO Tbl_Rapporten VALUES (1, 'Balans'), (2, 'Winst- en verliesrekening');
)sql";

void MakeFolders(FileSystem& fs, const std::string& path) {
  std::string current;
  size_t pos = 0;
  while ((pos = path.find('\\', pos + 1)) != std::string::npos) {
    current = path.substr(0, pos);
    if (current.size() > 2 && !fs.FolderExists(current)) fs.MakeFolder(current);
  }
}

void WriteText(FileSystem& fs, const std::string& path, const std::string& text) { fs.ReplaceBytes(path, text); }

void WriteProgram(FileSystem& fs, const std::string& path, const std::string& what) {
  WriteText(fs, path, "#!/bin/sh\necho 'Velmora (" + what + "): dit is een voorbeeldprogramma.'\n");
  chmod(fs.HostPath(path).c_str(), 0755);
}

// An installation kept outside the program-files folder: program and data
// files side by side, nothing in a VirtualStore.
void MakeOtherInstallation(FileSystem& fs, const std::string& folder) {
  MakeFolders(fs, folder);
  WriteProgram(fs, folder + "VM.EXE", "testinstallatie");
  ExecuteSql(fs.HostPath(folder + "VM_DBv01.mdb"), kVelmoraDatabase);
  ExecuteSql(fs.HostPath(folder + "RptDB97.mdb"), kReportDatabase);
  WriteText(fs, folder + "screens.ini", "[Screens]\r\nMain=1024x768\r\n");
  WriteText(fs, folder + "Factuur.ini", "[Factuur]\r\nVoettekst=Testfactuur\r\nLogo=nee\r\n");
  WriteText(fs, folder + "VM_sources.VMD", "VMD1\r\nbronnen\r\n");
  WriteText(fs, folder + "VM.ini",
            "; Instellingen van Velmora\r\n[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n"
            "Bedrijf=Testadministratie\r\n");
}

}  // namespace

DemoPaths MakeDemoInstallation(const std::string& dir, const std::string& user) {
  namespace stdfs = std::filesystem;
  DemoPaths paths;
  paths.prefix = stdfs::absolute(stdfs::path(dir) / "prefix").lexically_normal().string();
  if (stdfs::exists(paths.prefix)) Raise(kFileAlreadyExists, paths.prefix + " already exists");
  stdfs::create_directories(stdfs::path(paths.prefix) / "drive_c");
  stdfs::create_directories(stdfs::path(paths.prefix) / "dosdevices");
  // The drive links a Wine prefix has.
  stdfs::create_directory_symlink("../drive_c", stdfs::path(paths.prefix) / "dosdevices" / "c:");
  stdfs::create_directory_symlink("/", stdfs::path(paths.prefix) / "dosdevices" / "z:");

  HostFileSystem fs{DriveMap(paths.prefix)};
  paths.program_dir = "C:\\Program Files\\velmora\\";
  paths.virtual_store = "C:\\users\\" + user + "\\AppData\\Local\\VirtualStore\\Program Files\\velmora\\";
  paths.data_dir = "C:\\users\\" + user + "\\AppData\\Roaming\\velmora\\";
  paths.documents = "C:\\users\\" + user + "\\Documents\\";
  paths.other_dir = "C:\\Velmora-test\\";
  MakeFolders(fs, paths.program_dir);
  MakeFolders(fs, paths.virtual_store);
  MakeFolders(fs, paths.documents);

  // The application itself: a stand-in that says what it is.
  WriteProgram(fs, paths.program_dir + "VM.EXE", "demo-installatie");

  // Files the installer put in the program folder.
  ExecuteSql(fs.HostPath(paths.program_dir + "RptDB97.mdb"), kReportDatabase);
  WriteText(fs, paths.program_dir + "screens.ini", "[Screens]\r\nMain=1024x768\r\n");
  WriteText(fs, paths.program_dir + "Factuur.ini", "[Factuur]\r\nVoettekst=Betaling binnen 30 dagen\r\nLogo=ja\r\n");
  WriteText(fs, paths.program_dir + "VM_sources.VMD", "VMD1\r\nbronnen\r\n");
  WriteText(fs, paths.program_dir + "VM.ini", "[Main]\r\nVersion=10302\r\nVersionUpdate=1\r\n");

  // Files Velmora wrote while running, which the platform redirected into
  // the user's VirtualStore copy of the program folder.
  ExecuteSql(fs.HostPath(paths.virtual_store + "VM_DBv01.mdb"), kVelmoraDatabase);
  WriteText(fs, paths.virtual_store + "VM.ini",
            "; Instellingen van Velmora\r\n[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n"
            "Bedrijf=Administratiekantoor Kleinhout\r\n");
  WriteText(fs, paths.virtual_store + "sourcesBus.VMD", "oud bronbestand\r\n");

  MakeOtherInstallation(fs, paths.other_dir);
  return paths;
}

std::string DemoHostPath(const DemoPaths& paths, const std::string& windows_path) {
  HostFileSystem fs{DriveMap(paths.prefix)};
  return fs.HostPath(windows_path);
}

void WriteDemoFile(const std::string& host_path, const std::string& bytes) {
  std::ofstream out(host_path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) throw pack::PackError("cannot write " + host_path);
}

}  // namespace vmu
