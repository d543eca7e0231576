// Sets the run log up as a case's [log] section says before its run, and undoes it afterwards.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "tests/cases/case_file.h"
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
