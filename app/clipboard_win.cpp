#include "app/clipboard_win.h"

#include <cstring>

#include "support/handle.h"

namespace {

using GlobalMemory = UniqueHandle<NullHandleTraits<HGLOBAL, GlobalFree>>;

// Another program may hold the clipboard for a moment; a few short tries, so that the dialog's
// thread (and any worker waiting for it to add a line) is held up for 100 ms at the most.
constexpr int kOpenTries = 5;
constexpr DWORD kOpenPauseMs = 20;

class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) {
    for (int i = 0; i < kOpenTries && !open_; ++i) {
      if (i > 0) Sleep(kOpenPauseMs);
      open_ = OpenClipboard(owner) != FALSE;
    }
  }
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  bool open() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace

bool PutTextOnClipboard(HWND owner, const Text& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory.valid()) return false;
  void* const target = GlobalLock(memory.get());
  if (target == nullptr) return false;
  std::memcpy(target, text.c_str(), bytes);
  GlobalUnlock(memory.get());

  OpenClipboardScope clipboard(owner);
  if (!clipboard.open() || !EmptyClipboard()) return false;
  if (SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr) return false;
  // The system owns the memory from now on.
  memory.release();
  return true;
}
