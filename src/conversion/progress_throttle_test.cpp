#include "conversion/progress_throttle.h"

#include <gtest/gtest.h>

#include "conversion/conversion_test_env.h"

namespace vmu {
namespace {

class Recorder : public testing::RecordingDisplay {
 public:
  void TableProgress(long done, long count) override {
    reports += std::to_string(done) + "/" + std::to_string(count) + " ";
  }
  std::string reports;
};

TEST(ProgressThrottle, PassesRowsOnClampedToTheCountAndNoMoreOftenThanItsInterval) {
  Recorder display;
  ProgressThrottle every_time(display, 100, ProgressThrottle::Clock::duration::zero());
  for (long done : {-1L, 0L, 50L, 100L, 180L}) every_time.Rows(done);
  EXPECT_EQ(display.reports, "0/100 0/100 50/100 100/100 100/100 ");

  Recorder quiet;
  ProgressThrottle hourly(quiet, 100, std::chrono::hours(1));
  for (long done = 0; done < 100000; done += 1024) hourly.Rows(done);
  EXPECT_EQ(quiet.reports, "");
  EXPECT_EQ(quiet.lines, "");
}

}  // namespace
}  // namespace vmu
