// Where the minimised dialog draws its icon: centred in the client area.
#pragma once

struct IconOrigin {
  int x = 0;
  int y = 0;
};

// Signed division truncating toward zero, so a client area smaller than the icon gives the same
// origin as the platform's own dialogs (for a width of 0 and a 32-pixel icon: -15, not -16).
constexpr IconOrigin CentredIconOrigin(int clientWidth, int clientHeight, int iconWidth,
                                       int iconHeight) {
  return IconOrigin{(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}
