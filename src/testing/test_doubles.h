// Stand-ins for the parts of the host that the logic's tests do not exercise:
// a file system to break, message boxes and the file dialog answered from a
// queue, and a prefix with a run context over them.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "files/run_context.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "testing/fake_processes.h"
#include "testing/test_prefix.h"

namespace vmu::testing {

// Passes every call on to another file system; tests override the calls
// they want to watch or break.
class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}
  bool FileExists(const std::string& p) override { return inner_.FileExists(p); }
  bool FolderExists(const std::string& p) override { return inner_.FolderExists(p); }
  bool IsLink(const std::string& p) override { return inner_.IsLink(p); }
  std::vector<std::string> ListFiles(const std::string& p) override { return inner_.ListFiles(p); }
  void MakeFolder(const std::string& p) override { inner_.MakeFolder(p); }
  void RemoveFolder(const std::string& p) override { inner_.RemoveFolder(p); }
  void DeleteFile(const std::string& p) override { inner_.DeleteFile(p); }
  void MoveFile(const std::string& a, const std::string& b) override { inner_.MoveFile(a, b); }
  void CopyFile(const std::string& a, const std::string& b) override { inner_.CopyFile(a, b); }
  void PlaceFile(const std::string& a, const std::string& b, int m, const std::string& id) override {
    inner_.PlaceFile(a, b, m, id);
  }
  bool LinkFile(const std::string& a, const std::string& b) override { return inner_.LinkFile(a, b); }
  void SyncFile(const std::string& p) override { inner_.SyncFile(p); }
  void SyncFolder(const std::string& p) override { inner_.SyncFolder(p); }
  int FileMode(const std::string& p) override { return inner_.FileMode(p); }
  void SetFileMode(const std::string& p, int mode) override { inner_.SetFileMode(p, mode); }
  std::uint64_t FileSize(const std::string& p) override { return inner_.FileSize(p); }
  std::uint64_t FreeSpace(const std::string& p) override { return inner_.FreeSpace(p); }
  std::string VolumeOf(const std::string& p) override { return inner_.VolumeOf(p); }
  std::vector<std::string> ListTemporaryFiles(const std::string& p) override { return inner_.ListTemporaryFiles(p); }
  void AllowExecution(const std::string& path) override { inner_.AllowExecution(path); }
  void AppendLine(const std::string& p, const std::string& t) override { inner_.AppendLine(p, t); }
  std::string ReadBytes(const std::string& p) override { return inner_.ReadBytes(p); }
  void ReplaceBytes(const std::string& p, const std::string& b) override { inner_.ReplaceBytes(p, b); }
  std::string HostPath(const std::string& p) override { return inner_.HostPath(p); }
  std::string WindowsPath(const std::string& p) override { return inner_.WindowsPath(p); }

 private:
  FileSystem& inner_;
};

// Records every message; file dialogs take their answer from `files`, where
// "cancel" is the empty path a cancelled dialog gives and "fail" raises an
// error, as a dialog that cannot open does.
class ScriptedDialogs : public Dialogs {
 public:
  Answer ShowMessage(const MessageBoxSpec& request) override {
    messages.push_back(request);
    return request.buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
  }
  std::string ShowOpenFile(const FileDialogSpec& request) override {
    dialogs.push_back(request);
    if (files.empty()) return "";
    std::string answer = files.front();
    files.pop_front();
    if (answer == "cancel") return "";
    if (answer == "fail") throw VbError(5, "Invalid procedure call or argument");
    return answer;
  }

  std::vector<MessageBoxSpec> messages;
  std::vector<FileDialogSpec> dialogs;
  std::deque<std::string> files;
};

// A prefix and a run context over it, with a process table that starts
// nothing and answered dialogs: what the tests of the logic below the wizard
// share. The program folder is C:\prog\, the data folder C:\data\ (made).
struct RunFixture {
  RunFixture() : ctx(prefix.fs(), processes) {
    ctx.folders.ProgramDir = "C:\\prog\\";
    ctx.folders.DataDir = "C:\\data\\";
    prefix.fs().MakeFolder("C:\\data");
  }
  std::string Log() const { return prefix.Read(ctx.folders.DataDir + "ConversieLog.TXT"); }

  TestPrefix prefix;
  FakeProcesses processes;
  ScriptedDialogs dialogs;
  RunContext ctx;
};

}  // namespace vmu::testing
