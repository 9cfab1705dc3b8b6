#include "tools/pack/number_text.h"

#include <gtest/gtest.h>

#include <climits>

#include "files/utility.h"
#include "testing/error_of.h"

namespace vmu::pack {
namespace {

TEST(NumberText, AcceptsWhatTheWizardConverts) {
  for (const char* text : {"1", " +5 ", "-0", "\t7\t", "1.5", "", " ", "-", "abc", "1e3", "&H10",
                           "2147483647", "2147483648", "-2147483648", "-2147483649", "255", "256",
                           "-1", "99999999999999999999999"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ParseWholeNumber(text, INT32_MIN, INT32_MAX).has_value(),
              vmu::testing::ErrorOf([&] { ToInt32(text); }) == 0);
    EXPECT_EQ(ParseWholeNumber(text, 0, 255).has_value(),
              vmu::testing::ErrorOf([&] { ToByte(text); }) == 0);
  }
  EXPECT_EQ(ParseWholeNumber(" -12 ", INT32_MIN, INT32_MAX), -12);
}

}  // namespace
}  // namespace vmu::pack
