#include "conversion/progress_throttle.h"

#include <algorithm>

namespace vmu {

void ProgressThrottle::Rows(long done) {
  const Clock::time_point now = Clock::now();
  if (now - last_ < interval_) return;
  last_ = now;
  // An estimate from the engine may run past the count.
  display_.TableProgress(std::clamp(done, 0L, count_), count_);
}

}  // namespace vmu
