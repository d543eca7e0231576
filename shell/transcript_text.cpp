#include "shell/transcript_text.h"

namespace {

Text ZeroPadded(int value, size_t width) {
  Text digits = ToText(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), L'0');
  return digits;
}

void AppendLine(Text& text, const Text& line) {
  text += line;
  text += L"\r\n";
}

// UTC+08:00, UTC-03:30, UTC+00:00
Text FormatUtcOffset(int minutes) {
  const int size = minutes < 0 ? -minutes : minutes;
  return Text(L"UTC") + (minutes < 0 ? L"-" : L"+") + ZeroPadded(size / 60, 2) + L":" +
         ZeroPadded(size % 60, 2);
}

}  // namespace

Text FormatDateTime(const platform::DateTime& time) {
  return ZeroPadded(time.year, 4) + L"-" + ZeroPadded(time.month, 2) + L"-" +
         ZeroPadded(time.day, 2) + L" " + ZeroPadded(time.hour, 2) + L":" +
         ZeroPadded(time.minute, 2) + L":" + ZeroPadded(time.second, 2);
}

Text TranscriptHeader(const std::optional<platform::DateTime>& runStart, const Text& system) {
  Text header = kTranscriptProduct;
  if (runStart) {
    header += L" " + FormatDateTime(*runStart) + L" " + FormatUtcOffset(runStart->utcOffsetMinutes);
  }
  if (!system.empty()) header += L" " + system;
  return header;
}

Text TranscriptText(const Text& header, const Text& addressLine, const TextList& lines) {
  Text text;
  AppendLine(text, header);
  AppendLine(text, addressLine);
  for (const Text& line : lines) AppendLine(text, line);
  return text;
}
