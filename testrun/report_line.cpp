#include "testrun/report_line.h"

#include "app/progress_list.h"
#include "support/run_log.h"

void ReportLine(const Text& line) {
  AppendProgressLine(line);
  WriteRunLog(line);
}

Text Banner(const Text& name, int hyphens, const Text& edge) {
  return name + Text(static_cast<size_t>(hyphens), L'-') + edge;
}
