#include "tests/gui/case_check_win.h"

#include <filesystem>
#include <string>

#include "cases/case_file.h"
#include "res/resource.h"
#include "tests/cases/case_log_start.h"
#include "tests/gui/dialog_windows.h"
#include "tests/gui/transcript.h"

Text RunLogPathOf(HWND dialog) {
  DWORD processId = 0;
  GetWindowThreadProcessId(dialog, &processId);
  HANDLE const process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return Text();
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  const BOOL read = QueryFullProcessImageNameW(process, 0, path, &size);
  CloseHandle(process);
  if (!read) return Text();
  const Text image(path, size);
  return image.substr(0, image.rfind(L'\\') + 1) + L"log\\NetLog.log";
}

bool CheckCase(HWND dialog, const Text& casePath, const Text& addressAtButton) {
  CaseFile file;
  std::string error;
  if (!ReadCaseFile(std::filesystem::path(casePath), file, error)) {
    PrintLine(L"error: " + FromUtf8(error));
    return false;
  }
  const TextList lines = ListLines(GetDlgItem(dialog, IDC_PROGRESS_LIST));
  PrintLine(L"list: " + ToText(static_cast<int32_t>(lines.size())) + L" lines");
  for (const Text& line : lines) PrintLine(L"  | " + line);

  const TextList log = ReadCaseRunLog(
      file, CaseRunLogPath(file, std::filesystem::path(RunLogPathOf(dialog)).parent_path()));
  const Text address = TextOf(GetDlgItem(dialog, IDC_LOCAL_ADDRESS));
  bool passed = true;
  if (!ListMatches(file.list, lines, error)) {
    PrintLine(L"case: " + FromUtf8(error));
    passed = false;
  }
  if (!AddressLineMatches(file, address, error) ||
      !AddressAtButtonMatches(file, addressAtButton, kPreviousAddressLine, error)) {
    PrintLine(L"case: " + FromUtf8(error));
    passed = false;
  }
  if (!CaseLogMatches(file, lines, address, log, error)) {
    PrintLine(L"case: " + FromUtf8(error));
    passed = false;
  }
  PrintLine(L"case " + FromUtf8(file.name) + (passed ? L": as expected" : L": differs"));
  return passed;
}
