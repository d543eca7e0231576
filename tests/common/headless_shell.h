// A whole run in this process, as the dialog would start it: the real service client, a recording
// list and window in place of the dialog's, and the user's credentials in the catalogue.
#pragma once

#include "tests/common/recording_shell.h"

struct HeadlessShell {
  RecordingProgressList* list;
  RecordingMainWindow* window;
};

// Never freed, as the dialog's own: a run's detached threads may still be leaving them.
HeadlessShell InstallHeadlessShell(const Text& userName, const Text& password);
