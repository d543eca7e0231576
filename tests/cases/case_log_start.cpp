#include "tests/cases/case_log_start.h"

#include <chrono>
#include <string>
#include <system_error>
#include <thread>

#include "support/run_log.h"
#include "tests/common/run_log_reader.h"
#include "tests/common/temp_folder.h"

CaseLogStart::CaseLogStart(const CaseFile& file, std::filesystem::path logFolder)
    : folder_(std::move(logFolder)) {
  std::error_code failed;
  std::filesystem::remove_all(folder_, failed);
  if (failed) {
    error_ = "cannot remove " + folder_.string() + ": " + failed.message();
    return;
  }
  const std::filesystem::path log = folder_ / "NetLog.log";
  switch (file.logStart) {
    case CaseFile::LogStart::kCleared:
      break;
    case CaseFile::LogStart::kHeld:
      std::filesystem::create_directories(folder_, failed);
      hold_ = std::make_unique<ExclusiveFileHold>(log);
      if (failed || !hold_->held()) error_ = "cannot hold " + log.string();
      break;
    case CaseFile::LogStart::kBlocked:
      std::filesystem::remove(CaseRunLogPath(file, folder_), failed);
      WriteFileBytes(folder_, "not a folder");
      blocked_ = true;
      if (!std::filesystem::is_regular_file(folder_))
        error_ = "cannot put a file at " + folder_.string();
      break;
    case CaseFile::LogStart::kReadOnlyFile:
    case CaseFile::LogStart::kReadOnlyFolder:
      std::filesystem::remove(CaseRunLogPath(file, folder_), failed);
      blocked_ = true;
      if (file.logStart == CaseFile::LogStart::kReadOnlyFile)
        std::filesystem::create_directories(log, failed);
      else
        std::filesystem::create_directory_symlink("/proc", folder_, failed);
      if (failed) error_ = "cannot keep the log from " + folder_.string() + ": " + failed.message();
      break;
    case CaseFile::LogStart::kSized: {
      // A byte-order mark and then any text.
      std::string bytes(file.logStartBytes, '#');
      if (bytes.size() >= 2) bytes.replace(0, 2, "\xff\xfe");
      std::filesystem::create_directories(folder_, failed);
      WriteFileBytes(log, bytes);
      if (failed || std::filesystem::file_size(log, failed) != file.logStartBytes || failed) {
        error_ = "cannot write " + std::to_string(file.logStartBytes) + " bytes to " + log.string();
      }
      break;
    }
  }
}

CaseLogStart::~CaseLogStart() {
  hold_.reset();
  std::error_code ignored;
  // A link is removed, never what it leads to.
  if (blocked_) std::filesystem::remove_all(folder_, ignored);
}

std::filesystem::path CaseRunLogPath(const CaseFile& file, const std::filesystem::path& logFolder) {
  if (!CaseLogFallsBack(file)) return logFolder / "NetLog.log";
  return std::filesystem::path(RunLogFallbackFolder()) / "NetLog.log";
}

bool CaseLogStart::ready(std::string& why) const {
  if (error_.empty()) return true;
  why = error_;
  return false;
}

TextList ReadCaseRunLog(const CaseFile& file, const std::filesystem::path& logPath) {
  const auto hasAddressRecord = [](const TextList& log) {
    for (const Text& message : log) {
      if (message.rfind(kAddressRecordPrefix, 0) == 0) return true;
    }
    return false;
  };
  if (!CaseLogsAddress(file)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return ReadRunLogMessages(logPath);
  }
  TextList log = ReadRunLogMessages(logPath);
  for (int i = 0; i < 100 && !hasAddressRecord(log); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    log = ReadRunLogMessages(logPath);
  }
  return log;
}
