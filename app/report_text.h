// The report a user copies ("复制全部", Ctrl+C) or saves ("保存报告…") to hand a run to support
// staff: the transcript, then a blank line and a short summary under "概要", read from the run's
// recorded results rather than from the list's text. It names no user and no password.
#pragma once

#include <optional>

#include "support/platform_process.h"
#include "support/text.h"
#include "testrun/run_outcome.h"

// The summary's lines after "概要"; `outcome` is none when the list shows no run.
TextList ReportSummary(const std::optional<RunOutcome>& outcome);

// The transcript (lines ended by CR LF) with the summary after it.
Text ReportText(const Text& transcript, const TextList& summary);

// Quorvex-yyyymmdd-hhmmss.txt
Text ReportFileName(const platform::DateTime& time);
