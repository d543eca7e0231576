#include "app/report_save_win.h"
#include "support/known_folder_win.h"

#include <commdlg.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/com_apartment_win.h"
#include "app/report_text.h"
#include "app/transcript_copy_win.h"
#include "support/handle_win.h"
#include "support/known_folder_win.h"
#include "support/long_path_win.h"

namespace {

// The longest path the system allows, with its terminating null.
constexpr size_t kLongestPath = 32768;

// Beside the chosen file, so that the final rename stays on one volume. Made here rather than by
// GetTempFileNameW, which takes no folder of more than 246 characters. The name is short
// (qvXXXX.tmp), so that its path is hardly longer than the one the user chose.
Text NewTemporaryFile(const Text& path) {
  const Text folder = path.substr(0, path.find_last_of(L"\\/") + 1);
  if (folder.empty()) return Text();
  const uint32_t start = GetTickCount();
  for (uint32_t attempt = 0; attempt < 100; ++attempt) {
    const Text temporary = folder + L"qv" + ToLowerHex((start + attempt) & 0xFFFF) + L".tmp";
    const FileHandle file(CreateFileW(LongPathForm(temporary).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid()) return temporary;
    if (GetLastError() != ERROR_FILE_EXISTS) return Text();
  }
  return Text();
}

Text DocumentsFolder() { return KnownFolderPath(FOLDERID_Documents); }

bool WriteAll(const Text& path, const std::string& bytes) {
  FileHandle file(CreateFileW(LongPathForm(path).c_str(), GENERIC_WRITE, 0, nullptr,
                              TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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
      MoveFileExW(LongPathForm(temporary).c_str(), LongPathForm(path).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(LongPathForm(temporary).c_str());
  return false;
}

void SaveReport(HWND dialog, const std::optional<platform::DateTime>& runStart,
                const Text& caption) {
  ComApartment com;
  std::vector<wchar_t> path(kLongestPath, L'\0');
  ReportFileName(runStart ? *runStart : platform::LocalDateTime())
      .copy(path.data(), path.size() - 1);
  const Text documents = DocumentsFolder();
  // Pairs of a name and a pattern, ended by an empty name.
  static constexpr wchar_t kFilter[] = L"文本文件 (*.txt)\0*.txt\0";

  OPENFILENAMEW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = dialog;
  request.lpstrFilter = kFilter;
  request.lpstrFile = path.data();
  request.nMaxFile = static_cast<DWORD>(path.size());
  request.lpstrInitialDir = documents.empty() ? nullptr : documents.c_str();
  request.lpstrDefExt = L"txt";
  request.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&request)) {
    // Zero when the user cancelled.
    if (CommDlgExtendedError() != 0) MessageBeep(MB_ICONWARNING);
    return;
  }
  // Read after the dialog closed: the run may have gone on meanwhile.
  const Text chosen = path.data();
  if (WriteReportFile(chosen, DialogReport(dialog, runStart))) return;
  const Text message = L"无法保存报告：\n" + chosen;
  MessageBoxW(dialog, message.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}
