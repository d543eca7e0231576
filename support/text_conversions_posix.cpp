#include "support/text_conversions.h"

// The resolver here takes UTF-8 host names.
std::string WideToAnsi(Text wide) {
  if (wide.empty()) return {};
  std::string narrow = ToUtf8(wide);
  return narrow.substr(0, narrow.find('\0'));
}

Text AnsiToWide(std::string ansi) {
  if (ansi.empty()) return {};
  Text wide = FromUtf8(ansi);
  return wide.substr(0, wide.find(L'\0'));
}
