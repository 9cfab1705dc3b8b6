// One wizard per installation: a lock on the data folder, held for the run.
#pragma once

#include <string>

namespace vmu {

enum class LockResult {
  Taken,        // this program now holds the folder (or held it already)
  Busy,         // another running program holds it
  Unavailable,  // no lock can be kept there (no such folder, read-only)
};

class InstallationLock {
 public:
  virtual ~InstallationLock() = default;

  // Takes the lock of the data folder (Windows form, ending with a
  // backslash). Once taken, the lock held before is let go; when the folder
  // is busy or unavailable, the lock held before is kept.
  virtual LockResult Take(const std::string& data_dir) = 0;
};

}  // namespace vmu
