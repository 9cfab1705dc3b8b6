// Progress within one table, passed on to the display at most a few times a
// second: a table of a million rows shows it moving, a small one shows
// nothing at all.
#pragma once

#include <chrono>

#include "conversion/conversion_display.h"

namespace vmu {

class ProgressThrottle {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kInterval{250};

  ProgressThrottle(ConversionDisplay& display, long count, Clock::duration interval = kInterval)
      : display_(display), count_(count), interval_(interval), last_(Clock::now()) {}

  // Rows done so far; cheap enough to call for every few thousand rows.
  void Rows(long done);
  long count() const { return count_; }

 private:
  ConversionDisplay& display_;
  long count_;
  Clock::duration interval_;
  Clock::time_point last_;
};

}  // namespace vmu
