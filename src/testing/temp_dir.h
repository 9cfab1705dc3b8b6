// A temporary host folder for one test, removed with everything in it.
#pragma once

#include <string>

namespace vmu::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + relative
  std::string Sub(const std::string& relative) const;

 private:
  std::string path_;
};

// Small host file helpers for test set-up and checks.
void WriteHostFile(const std::string& path, const std::string& bytes);  // creates parent folders
std::string ReadHostFile(const std::string& path);                      // empty when missing
bool HostExists(const std::string& path);

}  // namespace vmu::testing
