#include "app/log_folder_win.h"

#include <shellapi.h>

#include <atomic>

#include "app/com_apartment_win.h"
#include "support/run_log.h"
#include "support/worker_thread.h"

namespace {

void OpenInShell(HWND owner, const Text& folder) {
  ComApartment com;
  SHELLEXECUTEINFOW request{};
  request.cbSize = sizeof(request);
  // The thread ends right after the call, so the shell must finish its work within it.
  request.fMask = SEE_MASK_NOASYNC;
  request.hwnd = owner;
  request.lpVerb = L"open";
  request.lpFile = folder.c_str();
  request.nShow = SW_SHOWNORMAL;
  // A failure is shown to the user by the shell itself.
  ShellExecuteExW(&request);
}

std::atomic<FolderOpener> folderOpener{&OpenInShell};

}  // namespace

void OpenRunLogFolder(HWND owner, const Text& caption) {
  const FolderOpener opener = folderOpener.load();
  const bool started = StartDetachedThread([owner, opener, caption] {
    Text tried;
    const Text folder = PrepareRunLogFolder(&tried);
    if (!folder.empty()) {
      opener(owner, folder);
      return;
    }
    // No folder could be made anywhere: the user learns which, rather than the shell's error about
    // a folder that is not there.
    const Text message = L"无法打开日志文件夹：\n" + tried;
    MessageBoxW(owner, message.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
  });
  if (!started) MessageBeep(MB_ICONWARNING);
}

void SetFolderOpenerForTest(FolderOpener opener) {
  folderOpener.store(opener != nullptr ? opener : &OpenInShell);
}
