#include "app/transcript_copy_win.h"

#include "app/clipboard_win.h"
#include "app/dialog_base_win.h"
#include "app/list_box_win.h"
#include "app/transcript_text.h"
#include "res/resource.h"

namespace {

void PutOrBeep(HWND dialog, const Text& text) {
  if (!PutTextOnClipboard(dialog, text)) MessageBeep(MB_ICONWARNING);
}

}  // namespace

void CopyTranscript(HWND dialog, const std::optional<platform::DateTime>& runStart) {
  const Text address = WindowText(GetDlgItem(dialog, IDC_LOCAL_ADDRESS));
  const TextList lines = ListBoxLines(GetDlgItem(dialog, IDC_PROGRESS_LIST));
  PutOrBeep(dialog, TranscriptText(TranscriptHeader(runStart), address, lines));
}

void CopyLine(HWND dialog, const Text& line) { PutOrBeep(dialog, line); }
