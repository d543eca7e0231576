#include "tests/probe/survey_transcript.h"

#include "support/run_log.h"

SurveyTranscript::SurveyTranscript() : wasEnabled_(runLogEnabled) {
  SetRunLogBaseDirectoryForTest(folder_.text());
  runLogEnabled = true;
}

SurveyTranscript::~SurveyTranscript() {
  runLogEnabled = wasEnabled_;
  SetRunLogBaseDirectoryForTest(Text());
}

TextList SurveyTranscript::LogMessages() const {
  const std::string bytes = ReadFileBytes(folder_.path() / "log" / "NetLog.log");
  std::u16string units;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  if (!units.empty() && units.front() == 0xFEFF) units.erase(0, 1);
  TextList messages;
  size_t start = 0;
  while (start < units.size()) {
    size_t end = units.find(u"\r\n", start);
    if (end == std::u16string::npos) end = units.size();
    Text record = FromUtf16(units.substr(start, end - start));
    const size_t prefixEnd = record.find(L"> ");
    if (record.rfind(L"<CTID:0x", 0) == 0 && prefixEnd != Text::npos)
      record.erase(0, prefixEnd + 2);
    messages.push_back(record);
    start = end + 2;
  }
  return messages;
}
