// A file system that breaks at its K-th operation that changes the disk: a
// file error once, every operation from K on (a full disk), a crash (from K
// on nothing more reaches the disk and the run is abandoned), or a power cut
// (a crash that also undoes all that was not flushed).
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/error.h"
#include "testing/test_doubles.h"

namespace vmu::testing {

enum class Fault { Once, FromThenOn, Crash, PowerCut };

// Thrown by a crash: no handler of the logic catches it, as none survives a
// killed process.
struct Crashed {};

class FaultFileSystem : public ForwardingFileSystem {
 public:
  // `at` 0: never breaks (counts the operations of a clean run).
  FaultFileSystem(FileSystem& inner, Fault fault, int at)
      : ForwardingFileSystem(inner), inner_(inner), fault_(fault), at_(at) {}

  int operations() const { return count_; }

  void MakeFolder(const std::string& p) override { Step(p), Name(p), ForwardingFileSystem::MakeFolder(p); }
  void RemoveFolder(const std::string& p) override { Step(p), Name(p), ForwardingFileSystem::RemoveFolder(p); }
  void DeleteFile(const std::string& p) override {
    Step(p), Name(p), Carry("", p), ForwardingFileSystem::DeleteFile(p);
  }
  void MoveFile(const std::string& a, const std::string& b) override {
    Step(b), Name(a), Name(b), ForwardingFileSystem::MoveFile(a, b), Carry(a, b), Carry("", a);
  }
  void CopyFile(const std::string& a, const std::string& b) override {
    Step(b, true), Name(b), ForwardingFileSystem::CopyFile(a, b);
    content_[Host(b)] = Entry{true, false, "", Now(Host(b)).mode};  // a new file: nothing of it flushed yet
  }
  // The host's own placing (a link to the source or a copy); either way
  // nothing of the target is flushed yet, and a power cut takes its bytes
  // under both names.
  void PlaceFile(const std::string& a, const std::string& b, int m, const std::string& id) override {
    Step(b, true), Name(b), ForwardingFileSystem::PlaceFile(a, b, m, id);
    content_[Host(b)] = Entry{true, false, "", m};
  }
  bool LinkFile(const std::string& a, const std::string& b) override {
    Step(b), Name(b);
    const bool linked = ForwardingFileSystem::LinkFile(a, b);
    if (linked) Carry(a, b);
    return linked;
  }
  void SyncFile(const std::string& p) override { Step(p), ForwardingFileSystem::SyncFile(p), content_.erase(Host(p)); }
  void SyncFolder(const std::string& p) override {
    Step(p), ForwardingFileSystem::SyncFolder(p);
    std::erase_if(names_, [&](const auto& name) { return Parent(name.first) == Host(p); });
  }
  void SetFileMode(const std::string& p, int m) override { Step(p), Write(p), ForwardingFileSystem::SetFileMode(p, m); }
  void AllowExecution(const std::string& p) override { Step(p), Write(p), ForwardingFileSystem::AllowExecution(p); }
  void AppendLine(const std::string& p, const std::string& t) override {
    Step(p);
    if (!Now(Host(p)).exists) Name(p), content_[Host(p)] = Entry{true, false, "", 0644};
    Write(p), ForwardingFileSystem::AppendLine(p, t);
  }
  // Durable when it returns: nothing for a power cut to undo.
  void ReplaceBytes(const std::string& p, const std::string& b) override {
    Step(p, true), ForwardingFileSystem::ReplaceBytes(p, b);
  }

 private:
  // What a path holds, or held when it was last durable.
  struct Entry {
    bool exists = false, folder = false;
    std::string bytes;
    int mode = 0;
  };

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
      case Fault::PowerCut:
        crashed_ = true;
        const std::string host = Host(path), folder = Parent(host);
        if (fault_ == Fault::PowerCut) CutPower();
        else if (writes) std::ofstream(folder + "/." + host.substr(folder.size() + 1) + ".vmu-4711") << "half";
        throw Crashed{};
    }
  }

  // The power cut's model: a name made, renamed or removed since its
  // folder's last SyncFolder goes back to what it was; a file's bytes and
  // mode since its last SyncFile too (a new file's to nothing).
  std::string Host(const std::string& path) {
    std::string host = inner_.HostPath(path);
    while (host.size() > 1 && host.back() == '/') host.pop_back();
    return host;
  }
  static std::string Parent(const std::string& host) { return host.substr(0, host.find_last_of('/')); }
  static Entry Now(const std::string& host) {
    struct stat st;
    if (stat(host.c_str(), &st) != 0) return {};
    Entry e{true, S_ISDIR(st.st_mode), "", static_cast<int>(st.st_mode & 0777)};
    if (!e.folder) e.bytes.assign(std::istreambuf_iterator<char>(std::ifstream(host, std::ios::binary).rdbuf()), {});
    return e;
  }
  void Name(const std::string& path) { names_.try_emplace(Host(path), Durable(Host(path))); }
  Entry Durable(const std::string& host) { return content_.count(host) ? content_[host] : Now(host); }
  // The unflushed content of the file named `from` (none: "") now also has the name `to`.
  void Carry(const std::string& from, const std::string& to) {
    if (!from.empty() && content_.count(Host(from))) content_[Host(to)] = content_[Host(from)];
    else content_.erase(Host(to));
  }
  void Write(const std::string& path) { content_.try_emplace(Host(path), Now(Host(path))); }
  static void Put(const std::string& host, const Entry& e) {
    std::error_code ignored;
    if (!e.exists || e.folder != std::filesystem::is_directory(host)) std::filesystem::remove_all(host, ignored);
    if (!e.exists || !std::filesystem::is_directory(Parent(host))) return;
    if (e.folder) std::filesystem::create_directory(host, ignored);
    else std::ofstream(host, std::ios::binary | std::ios::trunc) << e.bytes;
    chmod(host.c_str(), e.mode);
  }
  void CutPower() {
    for (const auto& [host, e] : names_)  // folders first: parents sort before their files
      if (e.folder) Put(host, e);
    for (const auto& [host, e] : content_)
      if (!names_.count(host) && Now(host).exists) Put(host, e);
    for (auto it = names_.rbegin(); it != names_.rend(); ++it)
      if (!it->second.folder) Put(it->first, it->second);
  }

  FileSystem& inner_;
  Fault fault_;
  int at_;
  int count_ = 0;
  bool crashed_ = false;
  std::map<std::string, Entry> names_;    // by host path: the durable entry of a name changed since
  std::map<std::string, Entry> content_;  // by host path: the durable content of a file written since
};

}  // namespace vmu::testing
