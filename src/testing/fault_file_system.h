// A file system that breaks at its K-th operation that changes the disk: a
// file error once, every operation from K on (a full disk), or a crash (from
// K on nothing more reaches the disk and the run is abandoned).
#pragma once

#include <fstream>
#include <string>

#include "platform/error.h"
#include "testing/test_doubles.h"

namespace vmu::testing {

enum class Fault { Once, FromThenOn, Crash };

// Thrown by a crash: no handler of the logic catches it, as none survives a
// killed process.
struct Crashed {};

class FaultFileSystem : public ForwardingFileSystem {
 public:
  // `at` 0: never breaks (counts the operations of a clean run).
  FaultFileSystem(FileSystem& inner, Fault fault, int at)
      : ForwardingFileSystem(inner), inner_(inner), fault_(fault), at_(at) {}

  int operations() const { return count_; }

  void MakeFolder(const std::string& p) override { Step(p), ForwardingFileSystem::MakeFolder(p); }
  void RemoveFolder(const std::string& p) override { Step(p), ForwardingFileSystem::RemoveFolder(p); }
  void DeleteFile(const std::string& p) override { Step(p), ForwardingFileSystem::DeleteFile(p); }
  void DeleteFiles(const std::string& p) override { Step(p), ForwardingFileSystem::DeleteFiles(p); }
  void MoveFile(const std::string& a, const std::string& b) override { Step(b), ForwardingFileSystem::MoveFile(a, b); }
  void CopyFile(const std::string& a, const std::string& b) override {
    Step(b, true);
    ForwardingFileSystem::CopyFile(a, b);
  }
  bool LinkFile(const std::string& a, const std::string& b) override {
    Step(b);
    return ForwardingFileSystem::LinkFile(a, b);
  }
  void SyncFile(const std::string& p) override { Step(p), ForwardingFileSystem::SyncFile(p); }
  void SyncFolder(const std::string& p) override { Step(p), ForwardingFileSystem::SyncFolder(p); }
  void SetFileMode(const std::string& p, int m) override { Step(p), ForwardingFileSystem::SetFileMode(p, m); }
  void AllowExecution(const std::string& p) override { Step(p), ForwardingFileSystem::AllowExecution(p); }
  void AppendLine(const std::string& p, const std::string& t) override {
    Step(p);
    ForwardingFileSystem::AppendLine(p, t);
  }
  void ReplaceBytes(const std::string& p, const std::string& b) override {
    Step(p, true);
    ForwardingFileSystem::ReplaceBytes(p, b);
  }
  void RemoveTemporaryFiles(const std::string& p) override { Step(p), ForwardingFileSystem::RemoveTemporaryFiles(p); }

 private:
  // `writes`: a crash here leaves a half-written temporary file beside the
  // target, as a killed copy does.
  void Step(const std::string& path, bool writes = false) {
    ++count_;
    if (crashed_) throw Crashed{};
    if (at_ == 0 || count_ < at_) return;
    switch (fault_) {
      case Fault::Once:
        if (count_ == at_) Raise(kPermissionDenied);
        return;
      case Fault::FromThenOn: Raise(kDiskFull);
      case Fault::Crash:
        crashed_ = true;
        if (writes) LeaveTemporary(path);
        throw Crashed{};
    }
  }
  void LeaveTemporary(const std::string& path) {
    try {
      const std::string host = inner_.HostPath(path);
      const std::size_t slash = host.find_last_of('/');
      std::ofstream(host.substr(0, slash + 1) + "." + host.substr(slash + 1) + ".vmu-4711") << "half";
    } catch (const VbError&) {
    }
  }

  FileSystem& inner_;
  Fault fault_;
  int at_;
  int count_ = 0;
  bool crashed_ = false;
};

}  // namespace vmu::testing
