/* Preloaded into the wizard by bench/crash_sweep.sh: counts the calls that
 * change files (in every process of one run, through a shared counter) and
 * kills the run with SIGKILL just before call CRASH_AT, as a power cut would
 * stop it. CRASH_AT=0 only counts.
 *
 *   CRASH_COUNTER  file holding the shared 8-byte counter (made by the script)
 *   CRASH_AT       the call that is never made
 *   CRASH_LOG      where the killed call is written: "K<TAB>call<TAB>path"
 *   CRASH_ROOT     the wizard's process id, killed with the caller
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

static volatile uint64_t* counter;
static uint64_t crash_at;
static int ready;

#define REAL(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

static void setup(void) {
  if (ready) return;
  ready = 1;
  const char* path = getenv("CRASH_COUNTER");
  const char* at = getenv("CRASH_AT");
  if (!path || !at) return;
  crash_at = strtoull(at, NULL, 10);
  int (*real_open)(const char*, int, ...) = REAL(open);
  int fd = real_open(path, O_RDWR | O_CLOEXEC);
  if (fd < 0) return;
  void* shared = mmap(NULL, sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  REAL(close)(fd);
  if (shared != MAP_FAILED) counter = shared;
}

static void tick(const char* call, const char* path) {
  setup();
  if (!counter) return;
  uint64_t n = __atomic_add_fetch(counter, 1, __ATOMIC_SEQ_CST);
  if (crash_at == 0 || n != crash_at) return;
  const char* log = getenv("CRASH_LOG");
  if (log) {
    char line[4200];
    int len = snprintf(line, sizeof line, "%llu\t%s\t%s\n", (unsigned long long)n, call, path ? path : "");
    int fd = REAL(open)(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0) {
      ssize_t written = REAL(write)(fd, line, (size_t)len);
      (void)written;
      REAL(close)(fd);
    }
  }
  const char* root = getenv("CRASH_ROOT");
  if (root) kill((pid_t)atol(root), SIGKILL);
  kill(getpid(), SIGKILL);
}

/* The path of a descriptor, for the log; writes to the terminal or a pipe
 * (the transcript) change no file and are not counted. */
static int file_fd(int fd, char* path, size_t size) {
  struct stat st;
  if (fd <= 2 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  char link[64];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  ssize_t n = readlink(link, path, size - 1);
  path[n > 0 ? n : 0] = 0;
  return 1;
}

static void tick_fd(const char* call, int fd) {
  char path[4096];
  if (file_fd(fd, path, sizeof path)) tick(call, path);
}

/* A path relative to a folder descriptor, made whole for the log. */
static const char* at_path(int dir, const char* path, char* whole, size_t size) {
  if (!path || path[0] == '/' || dir == AT_FDCWD) return path;
  char link[64], folder[4096];
  snprintf(link, sizeof link, "/proc/self/fd/%d", dir);
  ssize_t n = readlink(link, folder, sizeof folder - 1);
  if (n <= 0) return path;
  folder[n] = 0;
  snprintf(whole, size, "%s/%s", folder, path);
  return whole;
}

static void tick_at(const char* call, int dir, const char* path) {
  setup();
  if (!counter) return;
  char whole[8192];
  tick(call, at_path(dir, path, whole, sizeof whole));
}

static int changes(int flags) { return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0; }

static mode_t mode_of(int flags, va_list ap) {
  return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? (mode_t)va_arg(ap, int) : 0;
}

#define OPEN_LIKE(name)                                       \
  int name(const char* path, int flags, ...) {                \
    va_list ap;                                               \
    va_start(ap, flags);                                      \
    mode_t mode = mode_of(flags, ap);                         \
    va_end(ap);                                               \
    if (changes(flags)) tick(#name, path);                    \
    return REAL(name)(path, flags, mode);                     \
  }
OPEN_LIKE(open)
OPEN_LIKE(open64)

#define OPENAT_LIKE(name)                                     \
  int name(int dir, const char* path, int flags, ...) {       \
    va_list ap;                                               \
    va_start(ap, flags);                                      \
    mode_t mode = mode_of(flags, ap);                         \
    va_end(ap);                                               \
    if (changes(flags)) tick_at(#name, dir, path);            \
    return REAL(name)(dir, path, flags, mode);                \
  }
OPENAT_LIKE(openat)
OPENAT_LIKE(openat64)

int __open_2(const char* path, int flags) {
  if (changes(flags)) tick("open", path);
  return REAL(__open_2)(path, flags);
}
int __open64_2(const char* path, int flags) {
  if (changes(flags)) tick("open", path);
  return REAL(__open64_2)(path, flags);
}
int creat(const char* path, mode_t mode) {
  tick("creat", path);
  return REAL(creat)(path, mode);
}

static int writes(const char* mode) { return strpbrk(mode, "wa+") != NULL; }
FILE* fopen(const char* path, const char* mode) {
  if (writes(mode)) tick("fopen", path);
  return REAL(fopen)(path, mode);
}
FILE* fopen64(const char* path, const char* mode) {
  if (writes(mode)) tick("fopen", path);
  return REAL(fopen64)(path, mode);
}

ssize_t write(int fd, const void* data, size_t size) {
  tick_fd("write", fd);
  return REAL(write)(fd, data, size);
}
ssize_t pwrite(int fd, const void* data, size_t size, off_t at) {
  tick_fd("pwrite", fd);
  return REAL(pwrite)(fd, data, size, at);
}
ssize_t pwrite64(int fd, const void* data, size_t size, off64_t at) {
  tick_fd("pwrite", fd);
  return REAL(pwrite64)(fd, data, size, at);
}
ssize_t writev(int fd, const struct iovec* iov, int count) {
  tick_fd("writev", fd);
  return REAL(writev)(fd, iov, count);
}
ssize_t copy_file_range(int in, off64_t* in_at, int out, off64_t* out_at, size_t size, unsigned flags) {
  tick_fd("copy_file_range", out);
  return REAL(copy_file_range)(in, in_at, out, out_at, size, flags);
}
int ftruncate(int fd, off_t size) {
  tick_fd("ftruncate", fd);
  return REAL(ftruncate)(fd, size);
}
int ftruncate64(int fd, off64_t size) {
  tick_fd("ftruncate", fd);
  return REAL(ftruncate64)(fd, size);
}
int truncate(const char* path, off_t size) {
  tick("truncate", path);
  return REAL(truncate)(path, size);
}
int fsync(int fd) {
  tick_fd("fsync", fd);
  return REAL(fsync)(fd);
}
int fdatasync(int fd) {
  tick_fd("fdatasync", fd);
  return REAL(fdatasync)(fd);
}
int syncfs(int fd) {
  tick("syncfs", "");
  return REAL(syncfs)(fd);
}
void sync(void) {
  tick("sync", "");
  REAL(sync)();
}
int fchmod(int fd, mode_t mode) {
  tick_fd("fchmod", fd);
  return REAL(fchmod)(fd, mode);
}
int chmod(const char* path, mode_t mode) {
  tick("chmod", path);
  return REAL(chmod)(path, mode);
}
int fchmodat(int dir, const char* path, mode_t mode, int flags) {
  tick_at("fchmodat", dir, path);
  return REAL(fchmodat)(dir, path, mode, flags);
}
int fchown(int fd, uid_t uid, gid_t gid) {
  tick_fd("fchown", fd);
  return REAL(fchown)(fd, uid, gid);
}
int rename(const char* from, const char* to) {
  tick("rename", from);
  return REAL(rename)(from, to);
}
int renameat(int fd1, const char* from, int fd2, const char* to) {
  tick_at("renameat", fd1, from);
  return REAL(renameat)(fd1, from, fd2, to);
}
int renameat2(int fd1, const char* from, int fd2, const char* to, unsigned flags) {
  tick_at("renameat2", fd1, from);
  return REAL(renameat2)(fd1, from, fd2, to, flags);
}
int link(const char* from, const char* to) {
  tick("link", from);
  return REAL(link)(from, to);
}
int linkat(int fd1, const char* from, int fd2, const char* to, int flags) {
  tick_at("linkat", fd1, from);
  return REAL(linkat)(fd1, from, fd2, to, flags);
}
int symlink(const char* target, const char* path) {
  tick("symlink", path);
  return REAL(symlink)(target, path);
}
int unlink(const char* path) {
  tick("unlink", path);
  return REAL(unlink)(path);
}
int unlinkat(int dir, const char* path, int flags) {
  tick_at("unlinkat", dir, path);
  return REAL(unlinkat)(dir, path, flags);
}
int remove(const char* path) {
  tick("remove", path);
  return REAL(remove)(path);
}
int mkdir(const char* path, mode_t mode) {
  tick("mkdir", path);
  return REAL(mkdir)(path, mode);
}
int mkdirat(int dir, const char* path, mode_t mode) {
  tick_at("mkdirat", dir, path);
  return REAL(mkdirat)(dir, path, mode);
}
int rmdir(const char* path) {
  tick("rmdir", path);
  return REAL(rmdir)(path);
}
