#include "support/windows_version.h"

#include <gtest/gtest.h>

TEST(WindowsVersion, Windows11IsNamedFromBuild22000On) {
  EXPECT_EQ(WindowsVersionText(10, 0, 19045), L"Windows 10.0.19045");
  EXPECT_EQ(WindowsVersionText(10, 0, 21999), L"Windows 10.0.21999");
  EXPECT_EQ(WindowsVersionText(10, 0, 22000), L"Windows 10.0.22000 (Windows 11)");
  EXPECT_EQ(WindowsVersionText(10, 0, 26100), L"Windows 10.0.26100 (Windows 11)");
  EXPECT_EQ(WindowsVersionText(6, 1, 7601), L"Windows 6.1.7601");
}
