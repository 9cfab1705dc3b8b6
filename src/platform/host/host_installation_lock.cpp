#include "platform/host/host_installation_lock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/error.h"

namespace vmu {

HostInstallationLock::~HostInstallationLock() {
  if (fd_ >= 0) close(fd_);
}

LockResult HostInstallationLock::Take(const std::string& data_dir) {
  std::string host;
  try {
    host = fs_.HostPath(data_dir + kInstallationLockName);
  } catch (const VbError&) {
    return LockResult::Unavailable;
  }
  // Not inherited: the programs the wizard starts (the package, Velmora
  // itself) must not keep the installation locked after it has ended.
  const int fd = open(host.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  // A link, a folder or anything else but a plain file in the lock's place
  // could never be locked, and would let two wizards in: it counts as held.
  if (fd < 0) return errno == ELOOP || errno == EISDIR ? LockResult::Busy : LockResult::Unavailable;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const bool plain = S_ISREG(st.st_mode);
    close(fd);
    return plain ? LockResult::Unavailable : LockResult::Busy;
  }
  // The folder this program holds already: a second flock on a new open
  // file would only collide with our own.
  if (fd_ >= 0 && st.st_dev == dev_ && st.st_ino == ino_) {
    close(fd);
    return LockResult::Taken;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    close(fd);
    return err == EWOULDBLOCK ? LockResult::Busy : LockResult::Unavailable;
  }
  // Who holds it, for support staff who find the file; a failure to write
  // this changes nothing about the lock.
  const std::string pid = std::to_string(getpid()) + "\n";
  if (ftruncate(fd, 0) == 0) {
    const ssize_t written = pwrite(fd, pid.data(), pid.size(), 0);
    (void)written;
  }
  if (fd_ >= 0) close(fd_);
  fd_ = fd;
  dev_ = st.st_dev;
  ino_ = st.st_ino;
  return LockResult::Taken;
}

}  // namespace vmu
