#include "support/windows_version.h"

Text WindowsVersionText(uint32_t major, uint32_t minor, uint32_t build) {
  Text text = L"Windows " + ToText(static_cast<int32_t>(major)) + L"." +
              ToText(static_cast<int32_t>(minor)) + L"." + ToText(static_cast<int32_t>(build));
  if (major == 10 && build >= 22000) text += L" (Windows 11)";
  return text;
}
