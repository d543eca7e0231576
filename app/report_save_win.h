// "保存报告…": the report of the run the dialog shows, saved where the user chooses.
#pragma once

#include <windows.h>

#include <optional>

#include "support/platform_process.h"
#include "support/text.h"

// Asks for a file with the standard Save dialog, in the user's Documents folder with a name from
// `runStart` (from now without one), and writes the report there as UTF-8 with a byte-order mark
// and CR LF line ends. Cancelling writes nothing; a failed write is told in a message box with
// `caption` and leaves any file of that name as it was.
void SaveReport(HWND dialog, const std::optional<platform::DateTime>& runStart,
                const Text& caption);

// Writes `report` to a new file in the folder of `path`, then puts it in place of `path`. False,
// with no new file left behind, when any step failed.
bool WriteReportFile(const Text& path, const Text& report);
