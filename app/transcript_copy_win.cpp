#include "app/transcript_copy_win.h"

#include "app/clipboard_win.h"
#include "app/dialog_base_win.h"
#include "app/list_box_win.h"
#include "app/report_text.h"
#include "res/resource.h"
#include "shell/transcript_text.h"

namespace {

void PutOrBeep(HWND dialog, const Text& text) {
  if (!PutTextOnClipboard(dialog, text)) MessageBeep(MB_ICONWARNING);
}

}  // namespace

Text DialogReport(HWND dialog, const std::optional<platform::DateTime>& runStart) {
  const Text address = WindowText(GetDlgItem(dialog, IDC_LOCAL_ADDRESS));
  const TextList lines = ListBoxLines(GetDlgItem(dialog, IDC_PROGRESS_LIST));
  // Without a run start the list shows no run of this press, whatever was recorded before.
  const std::optional<RunOutcome> outcome =
      runStart ? std::optional<RunOutcome>(RunOutcomeSnapshot()) : std::nullopt;
  const Text header = TranscriptHeader(runStart, platform::SystemVersionText());
  return ReportText(TranscriptText(header, address, lines), ReportSummary(outcome));
}

void CopyReport(HWND dialog, const std::optional<platform::DateTime>& runStart) {
  PutOrBeep(dialog, DialogReport(dialog, runStart));
}

void CopyLine(HWND dialog, const Text& line) { PutOrBeep(dialog, line); }
