#include "tests/gui/transcript.h"

#include <windows.h>

#include <string>

namespace {

void Write(DWORD stream, const Text& line) {
  std::string bytes = ToUtf8(line);
  bytes += '\n';
  DWORD written = 0;
  WriteFile(GetStdHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
            nullptr);
}

}  // namespace

void PrintLine(const Text& line) { Write(STD_OUTPUT_HANDLE, line); }

void PrintNote(const Text& line) { Write(STD_ERROR_HANDLE, line); }

Text Quoted(const Text& text) { return L"\"" + text + L"\""; }
