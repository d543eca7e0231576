#include "tests/gui/clipboard_check.h"

#include <algorithm>

#include "tests/gui/transcript.h"

namespace {

const Text kProduct = L"Quorvex 1.0.0.1";

class ClipboardScope {
 public:
  ClipboardScope() : open_(OpenClipboard(nullptr) != FALSE) {}
  ~ClipboardScope() {
    if (open_) CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  bool open() const { return open_; }

 private:
  bool open_;
};

std::optional<Text> ClipboardText() {
  ClipboardScope clipboard;
  if (!clipboard.open()) return std::nullopt;
  HANDLE const data = GetClipboardData(CF_UNICODETEXT);
  if (data == nullptr) return std::nullopt;
  const auto* const units = static_cast<const wchar_t*>(GlobalLock(data));
  if (units == nullptr) return std::nullopt;
  // The memory may be larger than the text; the text ends at its terminator.
  const size_t capacity = GlobalSize(data) / sizeof(wchar_t);
  const Text text(units, std::find(units, units + capacity, L'\0'));
  GlobalUnlock(data);
  return text;
}

ULONGLONG Ticks(SYSTEMTIME time) {
  FILETIME file{};
  if (!SystemTimeToFileTime(&time, &file)) return 0;
  return (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

// "yyyy-mm-dd hh:mm:ss UTC+hh:mm" (or UTC-) as a time; false when it is not one.
bool ParseDateTime(const Text& text, SYSTEMTIME& time) {
  const Text shape = L"dddd-dd-dd dd:dd:dd UTC+dd:dd";
  if (text.size() != shape.size()) return false;
  for (size_t i = 0; i < shape.size(); ++i) {
    const bool digit = text[i] >= L'0' && text[i] <= L'9';
    const bool sign = shape[i] == L'+' && text[i] == L'-';
    if (shape[i] == L'd' ? !digit : text[i] != shape[i] && !sign) return false;
  }
  const auto number = [&text](size_t at, size_t length) {
    WORD value = 0;
    for (size_t i = at; i < at + length; ++i)
      value = static_cast<WORD>(value * 10 + text[i] - L'0');
    return value;
  };
  time = SYSTEMTIME{};
  time.wYear = number(0, 4);
  time.wMonth = number(5, 2);
  time.wDay = number(8, 2);
  time.wHour = number(11, 2);
  time.wMinute = number(14, 2);
  time.wSecond = number(17, 2);
  return Ticks(time) != 0;
}

bool CheckHeader(Text header, SYSTEMTIME from, const SYSTEMTIME& to) {
  // The system's version ends the header: "Windows" and three numbers.
  const size_t system = header.rfind(L" Windows ");
  const Text version = system != Text::npos ? header.substr(system + 9) : Text();
  if (std::count(version.begin(), version.end(), L'.') != 2 ||
      version.find_first_not_of(L"0123456789.") != Text::npos) {
    PrintLine(L"report: header " + Quoted(header) + L" does not end with the Windows version");
    return false;
  }
  header.erase(system);
  if (header == kProduct) {
    PrintLine(L"report: header " + Quoted(kProduct) + L" and the Windows version, no run started");
    return true;
  }
  SYSTEMTIME start{};
  if (header.rfind(kProduct + L" ", 0) != 0 ||
      !ParseDateTime(header.substr(kProduct.size() + 1), start)) {
    PrintLine(L"report: header " + Quoted(header) + L" is not " + Quoted(kProduct) +
              L" with a date, time and UTC offset");
    return false;
  }
  // The header counts whole seconds.
  from.wMilliseconds = 0;
  if (Ticks(start) < Ticks(from) || Ticks(start) > Ticks(to)) {
    PrintLine(L"report: header " + Quoted(header) + L" names a time outside this driver run");
    return false;
  }
  PrintLine(L"report: header " + Quoted(kProduct) +
            L", the time the run started with its UTC offset, the Windows version");
  return true;
}

bool StartsWith(const TextList& lines, const TextList& prefix) {
  return prefix.size() <= lines.size() && std::equal(prefix.begin(), prefix.end(), lines.begin());
}

}  // namespace

bool EmptyTheClipboard() {
  ClipboardScope clipboard;
  return clipboard.open() && EmptyClipboard();
}

std::optional<Text> WaitForClipboardText(int timeoutMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  for (;;) {
    if (IsClipboardFormatAvailable(CF_UNICODETEXT)) {
      const std::optional<Text> text = ClipboardText();
      if (text) return text;
    }
    if (GetTickCount64() >= end) return std::nullopt;
    Sleep(20);
  }
}

bool CheckTranscript(const Text& copied, const DialogText& before, const DialogText& after,
                     const SYSTEMTIME& from, const SYSTEMTIME& to, TextList& summary) {
  TextList lines;
  size_t start = 0;
  for (size_t end = copied.find(L"\r\n"); end != Text::npos; end = copied.find(L"\r\n", start)) {
    lines.push_back(copied.substr(start, end - start));
    start = end + 2;
  }
  // The summary follows the last blank line before "概要".
  size_t heading = lines.size();
  while (heading > 3 && !(lines[heading - 1] == L"概要" && lines[heading - 2].empty())) --heading;
  if (start != copied.size() || heading <= 3) {
    PrintLine(L"report: not lines ended by CR LF, or no summary after a blank line and \"概要\"");
    return false;
  }
  PrintLine(L"report: every line ended by CR LF");
  bool passed = CheckHeader(lines[0], from, to);

  if (lines[1] != before.address && lines[1] != after.address) {
    PrintLine(L"report: the address line " + Quoted(lines[1]) + L" is not the dialog's " +
              Quoted(after.address));
    passed = false;
  }
  const TextList listLines(lines.begin() + 2, lines.begin() + static_cast<long>(heading) - 2);
  if (!StartsWith(listLines, before.lines) || !StartsWith(after.lines, listLines)) {
    PrintLine(L"report: " + ToText(static_cast<int32_t>(listLines.size())) +
              L" list lines differ from the dialog's " +
              ToText(static_cast<int32_t>(after.lines.size())));
    for (const Text& line : listLines) PrintLine(L"  | " + line);
    passed = false;
  }
  if (passed) PrintLine(L"report: then the address line and the list, as the dialog shows them");
  summary.assign(lines.begin() + static_cast<long>(heading), lines.end());
  PrintLine(L"report: a blank line and the summary");
  for (const Text& line : summary) PrintLine(L"  = " + line);
  return passed;
}
