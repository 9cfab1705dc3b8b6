// The installation lock on this host: a file in the data folder held with
// flock. The kernel lets go of it when the holder ends in any way, so a lock
// left by a crashed wizard is never in force: it is simply taken over.
#pragma once

#include <sys/types.h>

#include "platform/file_system.h"
#include "platform/installation_lock.h"

namespace vmu {

// The lock file's name in the data folder. Its leading dot keeps it out of
// the wizard's own listings (it is no "normal file").
inline constexpr const char* kInstallationLockName = ".VM_Update.lock";

class HostInstallationLock : public InstallationLock {
 public:
  explicit HostInstallationLock(FileSystem& fs) : fs_(fs) {}
  ~HostInstallationLock() override;
  HostInstallationLock(const HostInstallationLock&) = delete;
  HostInstallationLock& operator=(const HostInstallationLock&) = delete;

  LockResult Take(const std::string& data_dir) override;

 private:
  FileSystem& fs_;
  int fd_ = -1;
  dev_t dev_ = 0;
  ino_t ino_ = 0;
};

}  // namespace vmu
