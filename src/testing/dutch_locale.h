// Switches the whole process to the Dutch locale for one test, as Qt does
// on a Dutch desktop (decimal comma), and back to the C locale afterwards.
#pragma once

#include <clocale>

namespace vmu::testing {

class DutchLocale {
 public:
  DutchLocale() {
    for (const char* name : {"nl_NL.UTF-8", "nl_NL.utf8", "nl_NL"})
      if (std::setlocale(LC_ALL, name)) {
        active_ = true;
        break;
      }
  }
  ~DutchLocale() { std::setlocale(LC_ALL, "C"); }
  DutchLocale(const DutchLocale&) = delete;
  DutchLocale& operator=(const DutchLocale&) = delete;

  // False when the locale is not installed (scripts/install-deps makes it).
  bool active() const { return active_; }

 private:
  bool active_ = false;
};

}  // namespace vmu::testing
