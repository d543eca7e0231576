#include "tests/gui/user_input.h"

#include <map>
#include <vector>

namespace {

const std::map<Text, WORD>& KeyNames() {
  static const std::map<Text, WORD> names = {
      {L"ctrl", VK_CONTROL},  {L"shift", VK_SHIFT}, {L"alt", VK_MENU},    {L"apps", VK_APPS},
      {L"f10", VK_F10},       {L"tab", VK_TAB},     {L"space", VK_SPACE}, {L"return", VK_RETURN},
      {L"escape", VK_ESCAPE}, {L"down", VK_DOWN},   {L"up", VK_UP}};
  return names;
}

bool KeyOf(const Text& name, WORD& key) {
  if (name.size() == 1 && name[0] >= L'a' && name[0] <= L'z') {
    key = static_cast<WORD>(name[0] - L'a' + L'A');
    return true;
  }
  const auto found = KeyNames().find(name);
  if (found == KeyNames().end()) return false;
  key = found->second;
  return true;
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  // The menu key and the arrows sit on the extended part of the keyboard.
  if (key == VK_APPS || key == VK_DOWN || key == VK_UP) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  return input;
}

// Splits at `separator`; empty pieces are dropped.
std::vector<Text> Split(const Text& text, wchar_t separator) {
  std::vector<Text> pieces;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == Text::npos) end = text.size();
    if (end > start) pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

}  // namespace

bool PressKeys(const Text& keys, Text& error) {
  std::vector<INPUT> inputs;
  for (const Text& chord : Split(keys, L' ')) {
    std::vector<WORD> held;
    for (const Text& name : Split(chord, L'+')) {
      WORD key = 0;
      if (!KeyOf(name, key)) {
        error = L"no key called \"" + name + L"\"";
        return false;
      }
      held.push_back(key);
    }
    for (WORD key : held) inputs.push_back(KeyInput(key, false));
    for (auto key = held.rbegin(); key != held.rend(); ++key)
      inputs.push_back(KeyInput(*key, true));
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return true;
}

void RightClickAt(POINT screenPoint) {
  const auto normalised = [](LONG value, int metric) {
    const LONG size = GetSystemMetrics(metric);
    return size > 1 ? (value * 65535 + (size - 1) / 2) / (size - 1) : 0;
  };
  // Each event carries the position itself: under Wine a separate move may be overtaken by the
  // X server's own idea of where the pointer is.
  INPUT click[3] = {};
  const DWORD buttons[3] = {0, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP};
  for (int i = 0; i < 3; ++i) {
    click[i].type = INPUT_MOUSE;
    click[i].mi.dx = normalised(screenPoint.x, SM_CXSCREEN);
    click[i].mi.dy = normalised(screenPoint.y, SM_CYSCREEN);
    click[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons[i];
  }
  SendInput(3, click, sizeof(INPUT));
}

bool BringToFront(HWND window) {
  if (GetForegroundWindow() != window) SetForegroundWindow(window);
  for (int i = 0; i < 100 && GetForegroundWindow() != window; ++i) Sleep(20);
  return GetForegroundWindow() == window;
}
