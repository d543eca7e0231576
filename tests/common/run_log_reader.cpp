#include "tests/common/run_log_reader.h"

#include <regex>

#include "tests/common/temp_folder.h"

RunLogContent ReadRunLog(const std::filesystem::path& path) {
  const std::string bytes = ReadFileBytes(path);
  std::u16string units;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  RunLogContent log;
  if (!units.empty() && units.front() == 0xFEFF) {
    log.hasBom = true;
    units.erase(0, 1);
  }
  size_t start = 0;
  while (start < units.size()) {
    size_t end = units.find(u"\r\n", start);
    end = end == std::u16string::npos ? units.size() : end + 2;
    log.records.push_back(ToUtf8(FromUtf16(units.substr(start, end - start))));
    start = end;
  }
  return log;
}

std::optional<std::string> RunLogMessage(const std::string& record) {
  static const std::regex kRecord(
      R"(^<CTID:0x([1-9a-f][0-9a-f]*|0) CPID:0x([1-9a-f][0-9a-f]*|0) TIME:([1-9]|1[0-9]|2[0-3]|0):[0-5][0-9]:[0-5][0-9]> ([^\r\n]*)\r\n$)");
  std::smatch match;
  if (!std::regex_match(record, match, kRecord)) return std::nullopt;
  return match[4].str();
}

TextList ReadRunLogMessages(const std::filesystem::path& path) {
  TextList messages;
  for (const std::string& record : ReadRunLog(path).records) {
    const std::optional<std::string> message = RunLogMessage(record);
    messages.push_back(message ? FromUtf8(*message) : Text(L"<malformed>"));
  }
  return messages;
}
