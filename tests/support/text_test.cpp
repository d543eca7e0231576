#include "support/text.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(TextNumbers, SignedDecimalAndLowerHexCoverTheWholeRange) {
  EXPECT_EQ(ToText(0), L"0");
  EXPECT_EQ(ToText(-7), L"-7");
  EXPECT_EQ(ToText(INT32_MIN), L"-2147483648");
  EXPECT_EQ(ToText(INT32_MAX), L"2147483647");
  EXPECT_EQ(ToLowerHex(0), L"0");
  EXPECT_EQ(ToLowerHex(6700), L"1a2c");
  EXPECT_EQ(ToLowerHex(0xFFFFFFFFu), L"ffffffff");
}

TEST(TextEncodings, RoundTripThroughUtf8AndUtf16KeepsEveryCharacter) {
  const std::string utf8 = "用户名 abc \xF0\x9F\x98\x80 %s";
  const Text text = FromUtf8(utf8);
  EXPECT_EQ(ToUtf8(text), utf8);
  const std::u16string units = ToUtf16(text);
  EXPECT_EQ(units, u"用户名 abc \U0001F600 %s");
  EXPECT_EQ(FromUtf16(units), text);
  // Encoded in the room reserved for it, never moved: 16 characters of 3 bytes.
  const Text password = L"我的密码是一二三四五六七八九十百";
  EXPECT_EQ(SecretToUtf8(password), ToUtf8(password));
  EXPECT_EQ(SecretToUtf8(password).capacity(), password.size() * kMostUtf8BytesPerUnit);
}

TEST(TextEncodings, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(ToUtf8(FromUtf8("a\xFF"
                            "b")),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(ToUtf8(FromUtf8("\xE4\xB8")), "\xEF\xBF\xBD");        // cut short
  EXPECT_EQ(ToUtf8(FromUtf8("\xC0\xAF")), "\xEF\xBF\xBD");        // overlong
  EXPECT_EQ(FromUtf16(std::u16string(1, u'\xD800')), L"\xFFFD");  // lone surrogate
}

}  // namespace
