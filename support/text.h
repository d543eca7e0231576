// Wide text as the whole system keeps it, and the few encodings it crosses into.
#pragma once

#include <cstddef>
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
// A password: the most its encoding can take is reserved first, so that the bytes are never moved
// and no copy is left behind in freed memory.
std::string SecretToUtf8(const Text& text);
// A UTF-16 unit takes at most 3 bytes (a pair of them 4); a 32-bit wchar_t holds a whole code
// point.
inline constexpr size_t kMostUtf8BytesPerUnit = sizeof(wchar_t) == 2 ? 3 : 4;
// Malformed input becomes U+FFFD; nothing is dropped silently.
Text FromUtf8(std::string_view bytes);
