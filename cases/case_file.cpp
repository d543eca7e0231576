#include "cases/case_file.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

#include "service/tcp_error_codes.h"
#include "support/run_log.h"

namespace {

std::string WithoutCr(const std::string& line) {
  return !line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
}

const std::map<Text, int32_t>& PlatformCodes() {
  static const std::map<Text, int32_t> codes = {{L"refused", tcp_error::kConnectionRefused},
                                                {L"timed-out", tcp_error::kTimedOut},
                                                {L"not-found", tcp_error::kHostNotFound},
                                                {L"try-again", tcp_error::kHostTryAgain}};
  return codes;
}

// A signed decimal at `at` in `text`; its length, 0 when there is none.
size_t NumberAt(const Text& text, size_t at, long long& value) {
  size_t i = at;
  const bool negative = i < text.size() && text[i] == L'-';
  if (negative) ++i;
  const size_t digits = i;
  value = 0;
  while (i < text.size() && text[i] >= L'0' && text[i] <= L'9' && i - digits < 12) {
    value = value * 10 + (text[i] - L'0');
    ++i;
  }
  if (i == digits) return 0;
  if (negative) value = -value;
  return i - at;
}

// Whether `pattern` (the text inside braces) matches the number at the start of `actual`; sets
// the length of that number.
bool PatternMatches(const Text& pattern, const Text& actual, size_t at, size_t& used) {
  long long value = 0;
  used = NumberAt(actual, at, value);
  if (used == 0) return false;
  const auto code = PlatformCodes().find(pattern);
  if (code != PlatformCodes().end()) return value == code->second;
  const size_t dots = pattern.find(L"..");
  if (dots == Text::npos) return false;
  long long low = 0;
  long long high = 0;
  const Text lowText = pattern.substr(0, dots);
  const Text highText = pattern.substr(dots + 2);
  if (NumberAt(lowText, 0, low) != lowText.size() ||
      NumberAt(highText, 0, high) != highText.size()) {
    return false;
  }
  return value >= low && value <= high;
}

// Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about "\"" + text + "\"".
std::string Quoted(const Text& text) {
  std::string quoted(1, '"');
  quoted += ToUtf8(text);
  quoted += '"';
  return quoted;
}

}  // namespace

bool ReadCaseFile(const std::filesystem::path& path, CaseFile& out, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path.string();
    return false;
  }
  out = CaseFile();
  out.name = path.stem().string();
  enum class Section {
    kNone,
    kService,
    kList,
    kAddress,
    kAddressLine,
    kAddressLate,
    kLog,
    kSummary,
    kFastestEcho,
    kBed,
    kCallSample,
  } section = Section::kNone;
  static const std::map<std::string, Section> kSections = {
      {"[service]", Section::kService},
      {"[list]", Section::kList},
      {"[address]", Section::kAddress},
      {"[address line]", Section::kAddressLine},
      {"[address answers late]", Section::kAddressLate},
      {"[log]", Section::kLog},
      {"[summary]", Section::kSummary},
      {"[fastest echo]", Section::kFastestEcho},
      {"[routers]", Section::kBed},
      {"[runs]", Section::kBed},
      {"[call sample]", Section::kCallSample}};
  bool sawService = false;
  bool sawList = false;
  bool sawAddressLine = false;
  std::string line;
  while (std::getline(in, line)) {
    // List lines keep their trailing spaces: a line may end with them.
    const std::string text = WithoutCr(line);
    const auto heading = kSections.find(text);
    if (heading != kSections.end()) {
      section = heading->second;
      sawService = sawService || section == Section::kService;
      sawList = sawList || section == Section::kList;
      sawAddressLine = sawAddressLine || section == Section::kAddressLine;
      out.addressAnswersLate = out.addressAnswersLate || section == Section::kAddressLate;
      out.routerBed = out.routerBed || text == "[routers]";
      continue;
    }
    if (section == Section::kNone) {
      if (!text.empty() && text[0] != '#') {
        error = path.string() + ": text before the first section: " + text;
        return false;
      }
    } else if (section == Section::kService) {
      out.service += text + "\n";
    } else if (section == Section::kAddress) {
      if (!text.empty()) out.address += text + "\n";
    } else if (section == Section::kAddressLine) {
      if (!out.addressLine.empty() && !text.empty()) {
        error = path.string() + ": [address line] holds one line";
        return false;
      }
      if (out.addressLine.empty()) out.addressLine = FromUtf8(text);
    } else if (section == Section::kAddressLate) {
      if (!text.empty()) {
        error = path.string() + ": [address answers late] holds nothing";
        return false;
      }
    } else if (section == Section::kBed) {
      continue;  // scripts/router-bed and the test's registration read these
    } else if (section == Section::kCallSample) {
      const size_t digits = text.find_first_not_of("0123456789");
      if (text.empty()) continue;
      if (digits == 0 || digits > 4 || text.substr(digits) != " ms" ||
          std::stoul(text.substr(0, digits)) < 100 || std::stoul(text.substr(0, digits)) > 6000) {
        error = path.string() + ": [call sample] holds \"N ms\", N from 100 to 6000";
        return false;
      }
      out.callSampleMs = static_cast<uint32_t>(std::stoul(text.substr(0, digits)));
    } else if (section == Section::kSummary) {
      if (!text.empty()) out.summary.push_back(FromUtf8(text));
    } else if (section == Section::kFastestEcho) {
      if (!text.empty()) out.fastestEchoes.push_back(FromUtf8(text));
    } else if (section == Section::kLog) {
      if (text == "tail") {
        out.logTail = true;
      } else if (text == "held") {
        out.logStart = CaseFile::LogStart::kHeld;
      } else if (text == "blocked") {
        out.logStart = CaseFile::LogStart::kBlocked;
      } else if (text == "read-only file") {
        out.logStart = CaseFile::LogStart::kReadOnlyFile;
      } else if (text == "read-only folder") {
        out.logStart = CaseFile::LogStart::kReadOnlyFolder;
      } else if (text.rfind("size ", 0) == 0 && text.size() > 5 &&
                 text.find_first_not_of("0123456789", 5) == std::string::npos &&
                 text.size() <= 5 + 9) {
        out.logStart = CaseFile::LogStart::kSized;
        out.logStartBytes = std::stoull(text.substr(5));
      } else if (!text.empty()) {
        error = path.string() + ": [log] knows \"tail\", \"held\", \"blocked\", " +
                "\"read-only file\", \"read-only folder\" and \"size N\", not " + text;
        return false;
      }
    } else if (text.rfind("{repeat ", 0) == 0 && text.find("} ") != std::string::npos) {
      const size_t close = text.find("} ");
      const long count = std::strtol(text.c_str() + 8, nullptr, 10);
      if (count < 1 || count > 100000) {
        error = path.string() + ": a repeat count must lie between 1 and 100000";
        return false;
      }
      out.list.insert(out.list.end(), static_cast<size_t>(count), FromUtf8(text.substr(close + 2)));
    } else {
      out.list.push_back(FromUtf8(text));
    }
  }
  // The file's last line break is no blank list line.
  while (!out.list.empty() && out.list.back().empty()) out.list.pop_back();
  // Without it a dialog that never showed an address would pass.
  if (!sawService || !sawList || !sawAddressLine) {
    error = path.string() + ": a case needs a [service], a [list] and an [address line] section";
    return false;
  }
  return true;
}

bool LineMatches(const Text& expected, const Text& actual) {
  size_t e = 0;
  size_t a = 0;
  while (e < expected.size()) {
    if (expected[e] == L'{' && e + 1 < expected.size() && expected[e + 1] == L'{') {
      if (a >= actual.size() || actual[a] != L'{') return false;
      e += 2;
      ++a;
      continue;
    }
    if (expected[e] == L'{') {
      const size_t close = expected.find(L'}', e);
      if (close == Text::npos) return false;
      size_t used = 0;
      if (!PatternMatches(expected.substr(e + 1, close - e - 1), actual, a, used)) return false;
      e = close + 1;
      a += used;
      continue;
    }
    if (a >= actual.size() || actual[a] != expected[e]) return false;
    ++e;
    ++a;
  }
  return a == actual.size();
}

bool ListMatches(const TextList& expected, const TextList& actual, std::string& why) {
  for (size_t i = 0; i < expected.size() || i < actual.size(); ++i) {
    const std::string where = "list line " + std::to_string(i + 1) + ": ";
    if (i >= actual.size()) {
      why = where + "missing, expected " + Quoted(expected[i]);
      return false;
    }
    if (i >= expected.size()) {
      why = where + "not expected: " + Quoted(actual[i]);
      return false;
    }
    if (!LineMatches(expected[i], actual[i])) {
      why = where + "expected " + Quoted(expected[i]) + ", got " + Quoted(actual[i]);
      return false;
    }
  }
  return true;
}

namespace {

// How much of a run the log holds after the file was begun again.
enum class LogExtent {
  kWhole,        // every record
  kTail,         // the newest records, the address record optional
  kAllButFirst,  // every record but the first written, whichever that was
};

bool LogMatches(const TextList& list, const Text& addressLine, const TextList& logMessages,
                LogExtent extent, std::string& why) {
  TextList expected;
  for (const Text& line : list) {
    if (!line.empty() && line != L"网络测试结束") expected.push_back(line);
  }
  expected.push_back(L"//");
  expected.push_back(L"//" + Text(93, L'*') + L"//");
  expected.push_back(L"//");

  TextList rest;
  int addressRecords = 0;
  for (const Text& message : logMessages) {
    if (message.rfind(kAddressRecordPrefix, 0) == 0) {
      ++addressRecords;
      if (message != addressLine) {
        why =
            "log: address record " + Quoted(message) + ", the dialog shows " + Quoted(addressLine);
        return false;
      }
    } else {
      rest.push_back(message);
    }
  }
  if (addressRecords != 1 && !(extent != LogExtent::kWhole && addressRecords == 0)) {
    why = "log: " + std::to_string(addressRecords) + " address records, expected 1";
    return false;
  }
  // With the address record, the run wrote one record more than `expected` holds.
  if (extent == LogExtent::kAllButFirst && logMessages.size() != expected.size()) {
    why = "log: " + std::to_string(logMessages.size()) + " records, expected " +
          std::to_string(expected.size()) + ", all the run wrote but the first";
    return false;
  }
  if (extent != LogExtent::kWhole) {
    // Only the newest records are left after the file was begun again.
    if (rest.empty() || rest.size() > expected.size()) {
      why = "log: " + std::to_string(rest.size()) + " records for a run of " +
            std::to_string(expected.size());
      return false;
    }
    expected.erase(expected.begin(), expected.end() - static_cast<long>(rest.size()));
  }
  for (size_t i = 0; i < expected.size() || i < rest.size(); ++i) {
    if (i >= rest.size() || i >= expected.size() || rest[i] != expected[i]) {
      why = "log record " + std::to_string(i + 1) + ": expected " +
            (i < expected.size() ? Quoted(expected[i]) : "none") + ", got " +
            (i < rest.size() ? Quoted(rest[i]) : "none");
      return false;
    }
  }
  return true;
}

}  // namespace

bool CaseLogsAddress(const CaseFile& file) {
  return file.logStart == CaseFile::LogStart::kCleared || CaseLogFallsBack(file) ||
         (file.logStart == CaseFile::LogStart::kSized && file.logStartBytes > kRunLogSizeLimit);
}

bool CaseLogMatches(const CaseFile& file, const TextList& list, const Text& addressLine,
                    const TextList& logMessages, std::string& why) {
  switch (file.logStart) {
    case CaseFile::LogStart::kHeld:
      if (logMessages.empty()) return true;
      why = "log: " + std::to_string(logMessages.size()) + " records, expected none; the first " +
            Quoted(logMessages.front());
      return false;
    case CaseFile::LogStart::kSized:
      // Up to the limit the file is kept for the first record and begun again at the second.
      if (file.logStartBytes <= kRunLogSizeLimit) {
        return LogMatches(list, addressLine, logMessages, LogExtent::kAllButFirst, why);
      }
      break;
    case CaseFile::LogStart::kCleared:
    case CaseFile::LogStart::kBlocked:
    case CaseFile::LogStart::kReadOnlyFile:
    case CaseFile::LogStart::kReadOnlyFolder:
      break;
  }
  return LogMatches(list, addressLine, logMessages,
                    file.logTail ? LogExtent::kTail : LogExtent::kWhole, why);
}

bool AddressLineMatches(const CaseFile& file, const Text& shown, std::string& why) {
  if (LineMatches(file.addressLine, shown)) return true;
  why = "address line: expected " + Quoted(file.addressLine) + ", got " + Quoted(shown);
  return false;
}

bool AddressAtButtonMatches(const CaseFile& file, const Text& shownAtButton, const Text& previous,
                            std::string& why) {
  // The address thread runs beside the run: unless the service answers late, either text may
  // stand when the button comes back, but nothing else.
  if (shownAtButton == previous) return true;
  if (!file.addressAnswersLate && LineMatches(file.addressLine, shownAtButton)) return true;
  why = "address line when the button came back: expected the previous " + Quoted(previous) +
        (file.addressAnswersLate ? "" : " or " + Quoted(file.addressLine)) + ", got " +
        Quoted(shownAtButton);
  return false;
}
