// "复制全部" and "复制本行": what the dialog shows, put on the clipboard. Both run on the dialog's
// thread, which reads its own controls without waiting for anybody; a worker adding a line in the
// meantime waits only as long as for any other message, and gets the lines so far copied.
#pragma once

#include <windows.h>

#include <optional>

#include "support/platform_process.h"
#include "support/text.h"

// The report of the run the dialog shows: the header with `runStart` and this system, the local
// address line, every line of the progress list, and the summary of the run's results so far.
Text DialogReport(HWND dialog, const std::optional<platform::DateTime>& runStart);

// "复制全部": the report.
void CopyReport(HWND dialog, const std::optional<platform::DateTime>& runStart);

// One line alone, without a line end.
void CopyLine(HWND dialog, const Text& line);
