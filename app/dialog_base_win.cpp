#include "app/dialog_base_win.h"

#include "app/app_base_win.h"

namespace {

// Messages whose result a dialog procedure returns itself instead of through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
  switch (message) {
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM:
      return true;
    default:
      return false;
  }
}

}  // namespace

HINSTANCE ResourceInstance() {
  ApplicationBase* const app = ApplicationBase::Current();
  return app != nullptr && app->Instance() != nullptr ? app->Instance() : GetModuleHandleW(nullptr);
}

DialogBase::DialogBase(UINT templateId, DialogBase* parent)
    : templateId_(templateId), parent_(parent) {}

HWND DialogBase::OwnerWindow() const {
  if (parent_ != nullptr) return parent_->GetSafeHwnd();
  ApplicationBase* const app = ApplicationBase::Current();
  if (app == nullptr || app->m_pMainWnd == nullptr || app->m_pMainWnd == this) return nullptr;
  return app->m_pMainWnd->GetSafeHwnd();
}

INT_PTR DialogBase::DoModal() {
  return DialogBoxParamW(ResourceInstance(), MAKEINTRESOURCEW(templateId_), OwnerWindow(),
                         &DialogBase::DialogProc, reinterpret_cast<LPARAM>(this));
}

void DialogBase::EndDialog(INT_PTR result) {
  if (hwnd_ != nullptr) ::EndDialog(hwnd_, result);
}

BOOL DialogBase::OnInitDialog() {
  DoDataExchange();
  return TRUE;
}

bool DialogBase::OnCommand(WORD id, WORD, HWND) {
  switch (id) {
    case IDOK:
      OnOK();
      return true;
    case IDCANCEL:
      OnCancel();
      return true;
    default:
      return false;
  }
}

bool DialogBase::OnSysCommand(UINT, LPARAM) { return false; }

bool DialogBase::OnPaint() { return false; }

bool DialogBase::OnContextMenu(HWND, POINT) { return false; }

HCURSOR DialogBase::OnQueryDragIcon() { return nullptr; }

void DialogBase::OnOK() { EndDialog(IDOK); }

void DialogBase::OnCancel() { EndDialog(IDCANCEL); }

bool DialogBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SYSCOMMAND:
      return OnSysCommand(static_cast<UINT>(wParam), lParam);
    case WM_PAINT:
      return OnPaint();
    case WM_CONTEXTMENU:
      // Signed coordinates: on a monitor left of or above the primary one they are negative.
      return OnContextMenu(
          reinterpret_cast<HWND>(wParam),
          POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    case WM_QUERYDRAGICON: {
      HCURSOR const cursor = OnQueryDragIcon();
      if (cursor == nullptr) return false;
      result = reinterpret_cast<LRESULT>(cursor);
      return true;
    }
    case WM_DESTROY:
      OnDestroy();
      return false;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam));
      return false;
    default:
      return false;
  }
}

INT_PTR CALLBACK DialogBase::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* const self = reinterpret_cast<DialogBase*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    self->hwnd_ = hwnd;
    return self->OnInitDialog();
  }
  // Messages before WM_INITDIALOG (the font, creation) find no object yet.
  auto* const self = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (self == nullptr) return FALSE;

  LRESULT result = 0;
  const bool handled = self->Dispatch(message, wParam, lParam, result);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
  }
  if (!handled) return FALSE;
  if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

Text WindowText(HWND window) {
  if (window == nullptr) return Text();
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return Text();
  Text text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

Text LoadResourceText(UINT id) {
  const wchar_t* resource = nullptr;
  // With a zero length, LoadString hands out a pointer into the resource itself.
  const int length = LoadStringW(ResourceInstance(), id, reinterpret_cast<LPWSTR>(&resource), 0);
  if (length <= 0 || resource == nullptr) return Text();
  return Text(resource, static_cast<size_t>(length));
}
