// The fault server (http_fault_server.py beside this file) on 127.0.0.1,
// serving a folder for one test; it ends by itself should the test die.
#pragma once

#include <sys/types.h>

#include <string>

namespace vmu::testing {

class HttpTestServer {
 public:
  explicit HttpTestServer(const std::string& root, int seconds = 120);
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  // "http://127.0.0.1:<port>"; empty when the server did not start.
  const std::string& base() const { return base_; }

 private:
  pid_t pid_ = 0;
  std::string base_;
};

}  // namespace vmu::testing
