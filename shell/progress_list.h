// The progress list: the dialog's list box of run lines, reached by workers through this interface.
#pragma once

#include "support/text.h"

// One list control. Each call returns only after the control has handled it.
class ProgressList {
 public:
  virtual ~ProgressList() = default;
  virtual void InsertAtEnd(const Text& line) = 0;
  virtual int GetCount() = 0;
  virtual void SetCurSel(int index) = 0;
  virtual void ResetContent() = 0;
};

// Set once by the dialog's initialisation, before any worker exists.
extern ProgressList* g_pProgressList;

// Appends one line at the end and selects it, which scrolls it into view.
void AppendProgressLine(const Text& line);

// How a worker reports one step: appended to the list, then the same text written to the run log
// as one finished line.
void ReportLine(const Text& line);
