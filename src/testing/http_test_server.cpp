#include "testing/http_test_server.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vmu::testing {

HttpTestServer::HttpTestServer(const std::string& root, int seconds) {
  int out[2];
  if (::pipe(out) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  const std::string limit = std::to_string(seconds);
  const char* argv[] = {"python3", VMU_HTTP_SERVER, root.c_str(), limit.c_str(), nullptr};
  const bool started = posix_spawnp(&pid_, "python3", &actions, nullptr, const_cast<char**>(argv), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  // The first line is the port; it may come in pieces.
  std::string port;
  char c = 0;
  while (started && port.size() < 8 && ::read(out[0], &c, 1) == 1 && c != '\n') port += c;
  ::close(out[0]);
  if (!started) pid_ = 0;
  if (!port.empty() && c == '\n') base_ = "http://127.0.0.1:" + port;
}

HttpTestServer::~HttpTestServer() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  ::waitpid(pid_, nullptr, 0);
}

}  // namespace vmu::testing
