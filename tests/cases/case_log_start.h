// Sets the run log up as a case's [log] section says before its run, undoes it afterwards, and
// reads what the run logged.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "cases/case_file.h"
#include "tests/common/file_hold.h"

class CaseLogStart {
 public:
  // `logFolder` is the folder the program writes NetLog.log into.
  CaseLogStart(const CaseFile& file, std::filesystem::path logFolder);
  ~CaseLogStart();
  CaseLogStart(const CaseLogStart&) = delete;
  CaseLogStart& operator=(const CaseLogStart&) = delete;

  // False with a message when the log could not be set up.
  bool ready(std::string& why) const;

  // Lets go of a held file, so that the check can read it.
  void Release() { hold_.reset(); }

 private:
  std::filesystem::path folder_;
  std::unique_ptr<ExclusiveFileHold> hold_;
  bool blocked_ = false;
  std::string error_;
};

// Where the run's log is to be: in `logFolder`, or in the fallback folder where the case blocks it.
std::filesystem::path CaseRunLogPath(const CaseFile& file, const std::filesystem::path& logFolder);

// The run log's messages once the program's run has ended, for a reader outside the program (the
// dialog's runner), which cannot see the address thread end: the thread logs its record right after
// it set the line, so this waits up to 5 s for that record; a run that is to log none gets 500 ms
// to show that it does not. The native runner waits for the thread's end instead.
TextList ReadCaseRunLog(const CaseFile& file, const std::filesystem::path& logPath);
