#include "app/context_menu_win.h"

#include <algorithm>

#include "app/dialog_base_win.h"
#include "res/resource.h"
#include "support/handle.h"

namespace {

using MenuHandle = UniqueHandle<NullHandleTraits<HMENU, DestroyMenu>>;

}  // namespace

POINT KeyboardMenuPoint(HWND listBox) {
  RECT client{};
  GetClientRect(listBox, &client);
  POINT point{client.left, client.top};
  const LRESULT selected = SendMessageW(listBox, LB_GETCURSEL, 0, 0);
  RECT line{};
  if (selected >= 0 && SendMessageW(listBox, LB_GETITEMRECT, static_cast<WPARAM>(selected),
                                    reinterpret_cast<LPARAM>(&line)) != LB_ERR) {
    point.x = std::clamp(line.left, client.left, client.right);
    point.y = std::clamp(line.bottom, client.top, client.bottom);
  }
  ClientToScreen(listBox, &point);
  return point;
}

void SelectLineAt(HWND listBox, POINT screenPoint) {
  ScreenToClient(listBox, &screenPoint);
  const LRESULT hit =
      SendMessageW(listBox, LB_ITEMFROMPOINT, 0,
                   MAKELPARAM(static_cast<WORD>(screenPoint.x), static_cast<WORD>(screenPoint.y)));
  // The high word is set when the point lies outside every line.
  if (HIWORD(hit) == 0) SendMessageW(listBox, LB_SETCURSEL, LOWORD(hit), 0);
}

UINT TrackProgressMenu(HWND owner, POINT screenPoint, bool lineSelected) {
  MenuHandle menu(LoadMenuW(ResourceInstance(), MAKEINTRESOURCEW(IDR_PROGRESS_MENU)));
  HMENU const popup = menu.valid() ? GetSubMenu(menu.get(), 0) : nullptr;
  if (popup == nullptr) return 0;
  EnableMenuItem(popup, ID_COPY_LINE, MF_BYCOMMAND | (lineSelected ? MF_ENABLED : MF_GRAYED));
  // The command comes back here rather than as WM_COMMAND, so that the caller can act on the state
  // it saw when the menu opened.
  return static_cast<UINT>(TrackPopupMenu(
      popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
      screenPoint.x, screenPoint.y, 0, owner, nullptr));
}
