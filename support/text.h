// Wide text as the whole system keeps it, and the few encodings it crosses into.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Text = std::wstring;
using TextList = std::vector<Text>;

// Signed decimal, as the progress lines show codes and measurements.
Text ToText(int32_t value);

// Lower-case hexadecimal without leading zeros.
Text ToLowerHex(uint32_t value);

// UTF-16 code units of a text (wchar_t is 16 bits on Windows, 32 on Linux).
std::u16string ToUtf16(const Text& text);
Text FromUtf16(std::u16string_view units);

std::string ToUtf8(const Text& text);
// Malformed input becomes U+FFFD; nothing is dropped silently.
Text FromUtf8(std::string_view bytes);
