// The run log's record of any message: the format's expansion, the cut at 1,023 code units, and
// control characters shown as U+FFFD.
// Input: thread and process id (4 bytes each, machine order), then UTF-16LE text: the format, and
// after a U+0000 the argument. Without a U+0000 the text is a finished line, as WriteRunLog(line)
// writes it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "support/run_log.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr size_t kLead = 8;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

bool IsControl(char16_t unit) {
  return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F) || unit == 0x2028 || unit == 0x2029;
}

// The message as a record shows it: every control character as U+FFFD.
std::u16string Shown(std::u16string units) {
  for (char16_t& unit : units) {
    if (IsControl(unit)) unit = 0xFFFD;
  }
  return units;
}

// A character that occurs in neither text, to mark where the argument goes.
wchar_t AbsentCharacter(const Text& format, const Text& argument) {
  wchar_t mark = 0xE000;
  while (format.find(mark) != Text::npos || argument.find(mark) != Text::npos) ++mark;
  return mark;
}

Text CheckedExpansion(const Text& format, const Text& argument) {
  const Text expanded = ExpandRunLogFormat(format, argument);
  if (format.find(L'%') == Text::npos) Check(expanded == format, "a format without % stays");
  Check(expanded.size() <= format.size() + argument.size(), "expansion adds only the argument");

  // The argument goes in once at most, as it is, at a place that does not depend on it.
  const wchar_t mark = AbsentCharacter(format, argument);
  const Text marked = ExpandRunLogFormat(format, Text(1, mark));
  const size_t at = marked.find(mark);
  if (at == Text::npos) {
    Check(expanded == marked, "a format that takes no argument ignores it");
  } else {
    Check(marked.find(mark, at + 1) == Text::npos, "the argument goes in once");
    Check(expanded == marked.substr(0, at) + argument + marked.substr(at + 1),
          "the argument goes in unread");
  }
  return expanded;
}

void CheckRecord(uint32_t threadId, uint32_t processId, const Text& message) {
  const std::u16string record = FormatRunLogRecord(threadId, processId, L"9:05:07", message);
  const std::u16string head = ToUtf16(L"<CTID:0x" + ToLowerHex(threadId) + L" CPID:0x" +
                                      ToLowerHex(processId) + L" TIME:9:05:07> ");
  Check(record.size() >= head.size() + 2 && record.compare(0, head.size(), head) == 0 &&
            record.compare(record.size() - 2, 2, u"\r\n") == 0,
        "a record is its head, the message and CR LF");

  const std::u16string whole = Shown(ToUtf16(message));
  const std::u16string written = record.substr(head.size(), record.size() - head.size() - 2);
  Check(written.size() <= kRunLogMessageLimit, "at most 1,023 code units of message");
  Check(whole.compare(0, written.size(), written) == 0, "the message written is its start");
  if (whole.size() <= kRunLogMessageLimit) {
    Check(written == whole, "a message within the limit is written whole");
  } else {
    Check(
        written.size() == kRunLogMessageLimit || (written.size() == kRunLogMessageLimit - 1 &&
                                                  IsHighSurrogate(whole[kRunLogMessageLimit - 1])),
        "a long message is cut at the limit, one unit earlier for a pair across it");
  }
  Check(written.empty() || !IsHighSurrogate(written.back()), "no half pair at the end");
  Check(ToUtf16(FromUtf16(written)) == written, "the message written is well-formed UTF-16");
  for (const char16_t unit : written) Check(!IsControl(unit), "no control character in a record");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kLead) return 0;
  uint32_t threadId;
  uint32_t processId;
  std::memcpy(&threadId, data, 4);
  std::memcpy(&processId, data + 4, 4);
  std::u16string units;
  for (size_t i = kLead; i + 1 < size; i += 2) {
    units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }

  const size_t end = units.find(u'\0');
  const Text format = FromUtf16(std::u16string_view(units).substr(0, end));
  const Text message =
      end == std::u16string::npos
          ? format
          : CheckedExpansion(format, FromUtf16(std::u16string_view(units).substr(end + 1)));
  CheckRecord(threadId, processId, message);
  return 0;
}
