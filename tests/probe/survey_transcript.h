// What a survey leaves behind: the progress list's lines and the run log's messages.
#pragma once

#include <filesystem>

#include "support/text.h"
#include "tests/common/recording_shell.h"
#include "tests/common/temp_folder.h"

// Installs a recording list and a run log in a fresh folder, switched on, for one test.
class SurveyTranscript {
 public:
  SurveyTranscript();
  ~SurveyTranscript();

  TextList ListLines() { return list_.list().Lines(); }
  // Each record's message, without its prefix and CR LF; a malformed record comes back whole.
  TextList LogMessages() const;

 private:
  ScopedRecordingList list_;
  TempFolder folder_;
  bool wasEnabled_;
};
