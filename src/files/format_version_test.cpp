#include "files/format_version.h"

#include <gtest/gtest.h>

#include <climits>

namespace vmu {
namespace {

TEST(FormatVersion, GroupsAndUpdateNumberEvenForNegativeAndExtremeNumbers) {
  EXPECT_EQ(FormatVersion(10203, false, 42), "01.02.03");
  EXPECT_EQ(FormatVersion(10203, true, 7), "01.02.03 / 0007");
  EXPECT_EQ(FormatVersion(1234567, false, 0), "123.45.67");
  EXPECT_EQ(FormatVersion(990000, true, 12345), "99.00.00 / 12345");
  // The floor of each group keeps the later groups in 0..99.
  EXPECT_EQ(FormatVersion(-1, true, -3), "-01.99.99 / -0003");
  EXPECT_EQ(FormatVersion(INT_MIN, true, INT_MIN), "-214749.63.52 / -2147483648");
  EXPECT_EQ(FormatVersion(INT_MAX, false, 0), "214748.36.47");
}

}  // namespace
}  // namespace vmu
