#include "app/report_save_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <string>

#include "app/com_apartment_win.h"
#include "app/report_text.h"
#include "app/transcript_copy_win.h"
#include "support/handle_win.h"

namespace {

// Beside the chosen file, so that the final rename stays on one volume.
Text NewTemporaryFile(const Text& path) {
  const Text folder = path.substr(0, path.find_last_of(L"\\/") + 1);
  wchar_t temporary[MAX_PATH] = {};
  if (folder.empty() || GetTempFileNameW(folder.c_str(), L"qvx", 0, temporary) == 0) return Text();
  return temporary;
}

bool WriteAll(const Text& path, const std::string& bytes) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size() && FlushFileBuffers(file.get());
}

}  // namespace

bool WriteReportFile(const Text& path, const Text& report) {
  const Text temporary = NewTemporaryFile(path);
  if (temporary.empty()) return false;
  if (WriteAll(temporary, "\xEF\xBB\xBF" + ToUtf8(report)) &&
      MoveFileExW(temporary.c_str(), path.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(temporary.c_str());
  return false;
}

void SaveReport(HWND dialog, const std::optional<platform::DateTime>& runStart,
                const Text& caption) {
  ComApartment com;
  wchar_t path[MAX_PATH] = {};
  ReportFileName(runStart ? *runStart : platform::LocalDateTime()).copy(path, MAX_PATH - 1);
  wchar_t documents[MAX_PATH] = {};
  const bool haveDocuments =
      SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents));
  // Pairs of a name and a pattern, ended by an empty name.
  static constexpr wchar_t kFilter[] = L"文本文件 (*.txt)\0*.txt\0";

  OPENFILENAMEW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = dialog;
  request.lpstrFilter = kFilter;
  request.lpstrFile = path;
  request.nMaxFile = MAX_PATH;
  request.lpstrInitialDir = haveDocuments ? documents : nullptr;
  request.lpstrDefExt = L"txt";
  request.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&request)) {
    // Zero when the user cancelled.
    if (CommDlgExtendedError() != 0) MessageBeep(MB_ICONWARNING);
    return;
  }
  // Read after the dialog closed: the run may have gone on meanwhile.
  const Text chosen = path;
  if (WriteReportFile(chosen, DialogReport(dialog, runStart))) return;
  const Text message = L"无法保存报告：\n" + chosen;
  MessageBoxW(dialog, message.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}
