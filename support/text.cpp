#include "support/text.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Appends a code point as UTF-16 where the units are 16 bits wide, else as it is.
template <typename String>
void AppendCodePoint(String& out, char32_t cp) {
  using Unit = typename String::value_type;
  if constexpr (sizeof(Unit) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<Unit>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<Unit>(0xDC00 + (cp & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<Unit>(cp));
}

// Walks a text of 16-bit units (UTF-16) or 32-bit ones as code points; lone surrogates become
// U+FFFD.
template <typename Unit, typename Fn>
void ForEachCodePoint(std::basic_string_view<Unit> text, Fn fn) {
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(Unit) == 2) {
      c &= 0xFFFF;
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
        const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
        if (low >= 0xDC00 && low <= 0xDFFF) {
          fn(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
          ++i;
          continue;
        }
      }
    }
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
    fn(c);
  }
}

// The digits of `value` in `base` (up to 16), lower-case, without leading zeros.
Text Digits(uint32_t value, uint32_t base) {
  static constexpr wchar_t kDigits[] = L"0123456789abcdef";
  Text digits;
  do {
    digits.insert(digits.begin(), kDigits[value % base]);
    value /= base;
  } while (value != 0);
  return digits;
}

}  // namespace

Text ToText(int32_t value) {
  const uint32_t magnitude = static_cast<uint32_t>(value);
  return value < 0 ? L"-" + Digits(0u - magnitude, 10) : Digits(magnitude, 10);
}

Text ToLowerHex(uint32_t value) { return Digits(value, 16); }

std::u16string ToUtf16(const Text& text) {
  std::u16string out;
  out.reserve(text.size());
  ForEachCodePoint(std::wstring_view(text), [&out](char32_t cp) { AppendCodePoint(out, cp); });
  return out;
}

Text FromUtf16(std::u16string_view units) {
  Text out;
  out.reserve(units.size());
  ForEachCodePoint(units, [&out](char32_t cp) { AppendCodePoint(out, cp); });
  return out;
}

namespace {

std::string EncodeUtf8(const Text& text, size_t reserved) {
  std::string out;
  out.reserve(reserved);
  ForEachCodePoint(std::wstring_view(text), [&out](char32_t cp) {
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  });
  return out;
}

}  // namespace

std::string ToUtf8(const Text& text) { return EncodeUtf8(text, text.size()); }

std::string SecretToUtf8(const Text& text) {
  return EncodeUtf8(text, text.size() * kMostUtf8BytesPerUnit);
}

Text FromUtf8(std::string_view bytes) {
  Text out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
      AppendCodePoint(out, kReplacement);
      ++i;
      continue;
    }
    size_t j = 1;
    bool valid = true;
    for (; j <= static_cast<size_t>(extra); ++j) {
      if (i + j >= bytes.size() || (static_cast<unsigned char>(bytes[i + j]) & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(bytes[i + j]) & 0x3F);
    }
    if (!valid || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      AppendCodePoint(out, kReplacement);
      i += j;
      continue;
    }
    AppendCodePoint(out, cp);
    i += j;
  }
  return out;
}
