#include "app/icon_placement.h"

#include <gtest/gtest.h>

namespace {

TEST(CentredIconOriginTest, RoundsHalfPixelsUpAndTruncatesTowardZero) {
  const IconOrigin odd = CentredIconOrigin(101, 51, 32, 32);
  EXPECT_EQ(odd.x, 35);  // (101 - 32 + 1) / 2
  EXPECT_EQ(odd.y, 10);  // (51 - 32 + 1) / 2
  // A minimised window's client area can be smaller than the icon: -31 / 2 is -15, not -16.
  const IconOrigin empty = CentredIconOrigin(0, 0, 32, 32);
  EXPECT_EQ(empty.x, -15);
  EXPECT_EQ(empty.y, -15);
}

}  // namespace
