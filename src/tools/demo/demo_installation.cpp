#include "tools/demo/demo_installation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/error.h"
#include "platform/host/host_file_system.h"
#include "platform/host/sqlite_exec.h"

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
  (2, 2, '2026-03-09', 'Factuur 2026-015', 349.95), (3, 3, '2026-03-15', 'Inkoop papier', -87.50);
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

void WriteText(FileSystem& fs, const std::string& path, const std::string& text) {
  fs.ReplaceBytes(path, text);
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
  MakeFolders(fs, paths.program_dir);
  MakeFolders(fs, paths.virtual_store);
  MakeFolders(fs, "C:\\users\\" + user + "\\Documents\\");

  // The application itself: a stand-in that says what it is.
  WriteText(fs, paths.program_dir + "VM.EXE",
            "#!/bin/sh\necho 'Velmora (demo-installatie): dit is een voorbeeldprogramma.'\n");
  chmod(fs.HostPath(paths.program_dir + "VM.EXE").c_str(), 0755);

  // Files the installer put in the program folder.
  ExecuteSql(fs.HostPath(paths.program_dir + "RptDB97.mdb"), kReportDatabase);
  WriteText(fs, paths.program_dir + "screens.ini", "[Screens]\r\nMain=1024x768\r\n");
  WriteText(fs, paths.program_dir + "Factuur.ini",
            "[Factuur]\r\nVoettekst=Betaling binnen 30 dagen\r\nLogo=ja\r\n");
  WriteText(fs, paths.program_dir + "VM_sources.VMD", "VMD1\r\nbronnen\r\n");
  WriteText(fs, paths.program_dir + "VM.ini", "[Main]\r\nVersion=10302\r\nVersionUpdate=1\r\n");

  // Files Velmora wrote while running, which the platform redirected into
  // the user's VirtualStore copy of the program folder.
  ExecuteSql(fs.HostPath(paths.virtual_store + "VM_DBv01.mdb"), kVelmoraDatabase);
  WriteText(fs, paths.virtual_store + "VM.ini",
            "; Instellingen van Velmora\r\n[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n"
            "Bedrijf=Administratiekantoor Kleinhout\r\n");
  WriteText(fs, paths.virtual_store + "sourcesBus.VMD", "oud bronbestand\r\n");
  return paths;
}

}  // namespace vmu
