#include "conversion/progress_throttle.h"

#include <gtest/gtest.h>

#include "conversion/conversion_test_env.h"

namespace vmu {
namespace {

TEST(ProgressThrottle, PassesRowsOnClampedToTheCountAndNoMoreOftenThanItsInterval) {
  testing::RecordingDisplay display;
  ProgressThrottle every_time(display, 100, ProgressThrottle::Clock::duration::zero());
  for (long done : {-1L, 0L, 50L, 100L, 180L}) every_time.Rows(done);
  EXPECT_EQ(display.table_progress, "0/100 0/100 50/100 100/100 100/100 ");

  testing::RecordingDisplay quiet;
  ProgressThrottle hourly(quiet, 100, std::chrono::hours(1));
  for (long done = 0; done < 100000; done += 1024) hourly.Rows(done);
  EXPECT_EQ(quiet.table_progress, "");
  EXPECT_EQ(quiet.lines, "");
}

}  // namespace
}  // namespace vmu
