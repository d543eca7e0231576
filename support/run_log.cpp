#include "support/run_log.h"

#include <chrono>
#include <thread>

#include "support/platform_files.h"
#include "support/program_closing.h"

std::atomic<bool> runLogEnabled{false};

std::mutex& runLogLock() {
  // A function-local static is initialised exactly once, also under a race of first callers.
  static std::mutex* const lock = new std::mutex;
  return *lock;
}

namespace {

constexpr const wchar_t* kLogName = L"NetLog.log";
constexpr std::chrono::milliseconds kHeldLogRetry{20};

Text& BaseDirectoryOverride() {
  static Text* const directory = new Text;
  return *directory;
}

// The folder the log goes to, decided at the first need for the rest of the program's run.
struct LogFolderChoice {
  bool decided = false;
  Text folder;
  Text tried;  // the folder, or where none could be had, the last one tried
};
LogFolderChoice& Choice() {
  static LogFolderChoice* const choice = new LogFolderChoice;
  return *choice;
}

Text TwoDigits(int value) {
  Text digits = ToText(value);
  return digits.size() < 2 ? L"0" + digits : digits;
}

Text Join(const Text& folder, const wchar_t* name) {
  return folder + platform::PathSeparator() + name;
}

void AppendLittleEndian(std::string& bytes, std::u16string_view units) {
  for (const char16_t unit : units) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
}

bool MadeDirectory(const Text& folder) {
  if (platform::QueryPath(folder) != platform::PathKind::kDirectory) CreateDirectoryPath(folder);
  return platform::QueryPath(folder) == platform::PathKind::kDirectory;
}

// Called with runLogLock held. Beside the executable where the log can be written there; else
// (Program Files, a read-only share, a file named "log" in the way, a read-only NetLog.log) the
// user's local data folder. Empty when neither can be had: the log then goes nowhere, rather than
// into a folder "log" at the root of the current drive.
Text PrepareFolder(Text* tried) {
  LogFolderChoice& choice = Choice();
  if (!choice.decided) {
    const Text& override = BaseDirectoryOverride();
    const Text base = override.empty() ? GetModuleDirectory() : override;
    const Text beside = base.empty() ? Text() : Join(base, L"log");
    if (!beside.empty() && MadeDirectory(beside) && platform::CanCreateFileIn(beside) &&
        platform::CanWriteOrMissing(Join(beside, kLogName))) {
      choice.folder = beside;
    } else {
      choice.folder = RunLogFallbackFolder();
    }
    choice.tried = choice.folder.empty() ? beside : choice.folder;
    choice.decided = true;
  }
  if (tried != nullptr) *tried = choice.tried;
  // Made again should it have been removed since.
  return !choice.folder.empty() && MadeDirectory(choice.folder) ? choice.folder : Text();
}

void WriteRecord(const Text& format, const Text* argument) {
  std::lock_guard<std::mutex> guard(runLogLock());
  if (!runLogEnabled.load()) return;
  // What the workers of an abandoned run still report after the close is not part of its record.
  if (ProgramClosing()) return;

  const Text folder = PrepareFolder(nullptr);
  if (folder.empty()) return;

  const Text file = Join(folder, kLogName);
  uint64_t size = 0;
  if (platform::FileSize(file, size) && size > kRunLogSizeLimit) platform::RemoveFile(file);

  if (format.empty()) return;
  const Text message = argument ? ExpandRunLogFormat(format, *argument) : format;
  std::string bytes;
  AppendLittleEndian(bytes,
                     FormatRunLogRecord(platform::CurrentThreadId(), platform::CurrentProcessId(),
                                        FormatTimeOfDay(platform::LocalTimeOfDay()), message));
  // Another copy of the program may be appending its own record: it has a few milliseconds.
  const auto giveUp = std::chrono::steady_clock::now() + kHeldLogRetry;
  while (platform::AppendAndFlush(file, "\xFF\xFE", bytes) == platform::AppendResult::kHeld &&
         std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace

void WriteRunLog(const Text& line) { WriteRecord(line, nullptr); }

void WriteRunLog(const Text& format, const Text& argument) { WriteRecord(format, &argument); }

Text PrepareRunLogFolder(Text* tried) {
  std::lock_guard<std::mutex> guard(runLogLock());
  return PrepareFolder(tried);
}

Text GetModuleDirectory() {
  const Text path = platform::ExecutablePath();
  if (path.empty()) return {};
  const size_t last = path.rfind(platform::PathSeparator());
  return last == Text::npos ? Text() : path.substr(0, last);
}

int CreateDirectoryPath(Text path) {
  if (path.empty()) return 0;
  const wchar_t separator = platform::PathSeparator();
  if (path.back() == separator) path.pop_back();
  for (size_t at = path.find(separator); at != Text::npos; at = path.find(separator, at + 1)) {
    const Text prefix = path.substr(0, at);
    if (!prefix.empty() && platform::QueryPath(prefix) != platform::PathKind::kDirectory) {
      platform::MakeDirectory(prefix);
    }
  }
  platform::MakeDirectory(path);
  return 1;
}

Text RunLogFallbackFolder() {
  const Text& override = BaseDirectoryOverride();
  const Text data = override.empty() ? platform::LocalDataFolder() : Join(override, L"local-data");
  return data.empty() ? Text() : Join(Join(data, L"Quorvex"), L"log");
}

void SetRunLogBaseDirectoryForTest(const Text& directory) {
  std::lock_guard<std::mutex> guard(runLogLock());
  BaseDirectoryOverride() = directory;
  Choice() = LogFolderChoice();
}

Text FormatTimeOfDay(const platform::TimeOfDay& time) {
  return ToText(time.hour) + L":" + TwoDigits(time.minute) + L":" + TwoDigits(time.second);
}

Text ExpandRunLogFormat(const Text& format, const Text& argument) {
  Text out;
  bool argumentUsed = false;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == L'%' && i + 1 < format.size()) {
      if (format[i + 1] == L'%') {
        out.push_back(L'%');
        ++i;
        continue;
      }
      if (format[i + 1] == L's' && !argumentUsed) {
        out += argument;
        argumentUsed = true;
        ++i;
        continue;
      }
    }
    out.push_back(format[i]);
  }
  return out;
}

std::u16string FormatRunLogRecord(uint32_t threadId, uint32_t processId, const Text& timeOfDay,
                                  const Text& message) {
  std::u16string text = ToUtf16(message);
  if (text.size() > kRunLogMessageLimit) {
    text.resize(kRunLogMessageLimit);
    // Never leave half of a surrogate pair at the cut.
    if (text.back() >= 0xD800 && text.back() <= 0xDBFF) text.pop_back();
  }
  // Text from the network can hold line ends and other control characters, which would forge or
  // break records: one call writes one record, so they show as U+FFFD here (the list keeps them).
  for (char16_t& unit : text) {
    if (unit < 0x20 || (unit >= 0x7F && unit <= 0x9F) || unit == 0x2028 || unit == 0x2029) {
      unit = 0xFFFD;
    }
  }
  return ToUtf16(L"<CTID:0x" + ToLowerHex(threadId) + L" CPID:0x" + ToLowerHex(processId) +
                 L" TIME:" + timeOfDay + L"> ") +
         text + u"\r\n";
}
