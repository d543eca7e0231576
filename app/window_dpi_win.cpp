#include "app/window_dpi_win.h"

UINT SystemDpi() {
  HDC const screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT WindowDpi(HWND window) {
  // Newer than Windows 7, so looked up by name.
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  HMODULE const user32 = GetModuleHandleW(L"user32.dll");
  const auto getDpi = reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void (*)()>(
      user32 != nullptr ? GetProcAddress(user32, "GetDpiForWindow") : nullptr));
  const UINT dpi = getDpi != nullptr ? getDpi(window) : 0;
  return dpi != 0 ? dpi : SystemDpi();
}

IconHandle LoadIconForDpi(HINSTANCE instance, UINT id, int side, UINT dpi) {
  const int pixels = MulDiv(side, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
  return IconHandle(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, pixels, pixels, LR_DEFAULTCOLOR)));
}
