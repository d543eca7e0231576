#include <windows.h>

#include <vector>

#include "support/text_conversions.h"

std::string WideToAnsi(Text wide) {
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int needed = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::vector<char> buffer(static_cast<size_t>(needed) + 1, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), length, buffer.data(), needed, nullptr, nullptr);
  return std::string(buffer.data());
}

Text AnsiToWide(std::string ansi) {
  if (ansi.empty()) return {};
  const int length = static_cast<int>(ansi.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(needed) + 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, buffer.data(), needed);
  return Text(buffer.data());
}
