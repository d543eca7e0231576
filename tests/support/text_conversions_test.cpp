#include "support/text_conversions.h"

#include <gtest/gtest.h>

namespace {

TEST(TextConversions, EmptyInGivesEmptyOut) {
  EXPECT_EQ(WideToAnsi(Text()), "");
  EXPECT_EQ(AnsiToWide(std::string()), L"");
}

TEST(TextConversions, AsciiHostNamesComeOutUnchangedBothWays) {
  EXPECT_EQ(WideToAnsi(L"im.example-1.test"), "im.example-1.test");
  EXPECT_EQ(AnsiToWide("198.18.0.7"), L"198.18.0.7");
}

TEST(TextConversions, AZeroCharacterEndsTheOutput) {
  EXPECT_EQ(WideToAnsi(Text(L"host\0tail", 9)), "host");
  EXPECT_EQ(AnsiToWide(std::string("host\0tail", 9)), L"host");
}

}  // namespace
