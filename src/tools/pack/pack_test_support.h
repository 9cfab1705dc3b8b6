// Helpers for the package tests: running the built tools, writing source
// folders, and snapshots of folder trees to compare byte for byte.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/sqlite/sqlite_exec.h"
#include "testing/temp_dir.h"

extern char** environ;

namespace vmu::pack::testing {

// The folder of the test program, where the tools are built too.
inline std::string BinDir() { return std::filesystem::read_symlink("/proc/self/exe").parent_path().string(); }

struct RunResult {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  std::string out, err;
};

// Runs a program with extra environment entries ("NAME=value") and waits.
inline RunResult RunProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env = {}) {
  std::vector<std::string> environment = env;
  for (char** e = environ; *e; ++e) environment.push_back(*e);
  std::vector<char*> args, envp;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  for (const auto& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
  args.push_back(nullptr);
  envp.push_back(nullptr);

  vmu::testing::TempDir capture;
  const std::string out_path = capture.Sub("out"), err_path = capture.Sub("err");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  RunResult result;
  pid_t pid = 0;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) == 0) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  result.out = vmu::testing::ReadHostFile(out_path);
  result.err = vmu::testing::ReadHostFile(err_path);
  return result;
}

inline int LineCount(const std::string& text) {
  int lines = 0;
  for (char ch : text) lines += ch == '\n';
  return lines;
}

// Every entry under a folder (hidden ones too): files with their bytes,
// folders as "<dir>", links as "<link to ...>".
inline std::map<std::string, std::string> Tree(const std::string& folder) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> tree;
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(folder, ec))) return tree;
  for (auto it = fs::recursive_directory_iterator(folder); it != fs::end(it); ++it) {
    const std::string name = fs::relative(it->path(), folder).string();
    if (it->is_symlink()) tree[name] = "<link to " + fs::read_symlink(it->path()).string() + ">";
    else if (it->is_directory()) tree[name] = "<dir>";
    else tree[name] = vmu::testing::ReadHostFile(it->path().string());
  }
  return tree;
}

// A source folder that vmu-pack accepts: the manifest, the list and the
// files it names, one of them with a name outside ASCII.
inline void WriteGoodSource(const std::string& folder) {
  using vmu::testing::WriteHostFile;
  WriteHostFile(folder + "/installatieV2.ini",
                "[Main]\r\nVer=10302\r\nVerUpdate=6\r\nVerLow=10302\r\nVerLowUpdate=5\r\nClose=1\r\n");
  // "Caf\xE9.ini" is Windows-1252 in the list, UTF-8 on the disk.
  WriteHostFile(folder + "/FileList.VML", "\"VM.EXE\",1\r\n\"screens.ini\",2\r\n\"Caf\xE9.ini\",2\r\n");
  WriteHostFile(folder + "/VM.EXE", "new program\n");
  WriteHostFile(folder + "/screens.ini", "[Screens]\r\nMain=1280x800\r\n");
  WriteHostFile(folder + "/Caf\xC3\xA9.ini", "[Caf\xC3\xA9]\r\n");
}

// A source folder whose package converts the user's database from 5.1 to
// 5.2: the customers change a column's name, the bookings keep theirs. The
// sample of the old database goes to `old_db`.
inline void WriteConversionSource(const std::string& folder, const std::string& old_db) {
  using vmu::testing::WriteHostFile;
  WriteHostFile(folder + "/installatieV2.ini",
                "[Main]\r\nVer=10302\r\nVerUpdate=6\r\nVerLow=10302\r\nVerLowUpdate=5\r\nClose=1\r\nConvert=1\r\n"
                "ConvOldfile=VM_DB.mdb\r\nConvNewfile=VM_DBnew.mdb\r\nConvDatabase=Conversie.mdb\r\n"
                "ConvFromVer=5.1\r\nConvToVer=5.2\r\n");
  WriteHostFile(folder + "/FileList.VML", "\"VM.EXE\",1\r\n\"VM_DB.mdb\",2\r\n");
  WriteHostFile(folder + "/VM.EXE", "new program\n");
  ExecuteSql(folder + "/VM_DBnew.mdb",
             "CREATE TABLE Tbl_About (ID INTEGER PRIMARY KEY, Version TEXT, CurrentVersion INTEGER);"
             "INSERT INTO Tbl_About VALUES (1, '5.1', 0), (2, '5.2', 1);"
             "CREATE TABLE Klant (ID INTEGER PRIMARY KEY, Naam TEXT NOT NULL, Plaats TEXT, Notitie TEXT);"
             "INSERT INTO Klant VALUES (1, 'Voorbeeld', 'Hoorn', NULL);"
             "CREATE TABLE Boeking (ID INTEGER PRIMARY KEY, Bedrag NUMERIC);");
  ExecuteSql(folder + "/Conversie.mdb",
             "CREATE TABLE TblTabels (tabelnaam TEXT, OrderDelete INTEGER, OrderUpdate INTEGER, DeleteTarget INTEGER,"
             " query TEXT, QueryDest TEXT, TlsDescription TEXT);"
             "INSERT INTO TblTabels VALUES ('Klant', 1, 1, 1,"
             " 'SELECT ID, Naam, Woonplaats AS Plaats, Notitie FROM Klanten', 'Klant', 'Klanten'),"
             " ('Boeking', 2, 2, 0, 'SELECT * FROM Boeking WHERE Bedrag <> 0', 'SELECT * FROM Boeking', 'Boekingen');");
  ExecuteSql(old_db,
             "CREATE TABLE Tbl_About (ID INTEGER PRIMARY KEY, Version TEXT, CurrentVersion INTEGER);"
             "INSERT INTO Tbl_About VALUES (1, '5.1', 1);"
             "CREATE TABLE Klanten (ID INTEGER PRIMARY KEY, Naam TEXT, Woonplaats TEXT, Notitie TEXT);"
             "INSERT INTO Klanten VALUES (1, 'Bakker', 'Utrecht', '007'), (2, 'Smit', 'Delft', NULL);"
             "CREATE TABLE Boeking (ID INTEGER PRIMARY KEY, Bedrag NUMERIC);"
             "INSERT INTO Boeking VALUES (1, 12.5), (2, 0), (3, -4);");
}

}  // namespace vmu::pack::testing
