#include "tests/gui/transcript.h"

#include <windows.h>

#include <string>

void PrintLine(const Text& line) {
  const std::string bytes = ToUtf8(line) + "\n";
  HANDLE const out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0;
  WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

Text Quoted(const Text& text) { return L"\"" + text + L"\""; }
