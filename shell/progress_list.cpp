#include "shell/progress_list.h"

#include "support/run_log.h"

ProgressList* g_pProgressList = nullptr;

void AppendProgressLine(const Text& line) {
  ProgressList* const list = g_pProgressList;
  if (list == nullptr) return;
  list->InsertAtEnd(line);
  const int count = list->GetCount();
  list->SetCurSel(count - 1);
}

void ReportLine(const Text& line) {
  AppendProgressLine(line);
  WriteRunLog(line);
}
