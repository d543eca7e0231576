// A modal dialog on a template resource. The dialog procedure hands each message to a virtual
// handler of the C++ object; a handler that returns false leaves the message to the system.
#pragma once

#include <windows.h>

#include "support/text.h"

class DialogBase {
 public:
  // Without a parent the dialog is owned by the application's main window, unless it is that
  // window itself.
  explicit DialogBase(UINT templateId, DialogBase* parent = nullptr);
  virtual ~DialogBase() = default;
  DialogBase(const DialogBase&) = delete;
  DialogBase& operator=(const DialogBase&) = delete;

  // Runs the dialog until EndDialog; the result EndDialog was given, or -1 if it could not run.
  INT_PTR DoModal();

  HWND GetSafeHwnd() const { return hwnd_; }
  HWND GetDlgItem(int id) const { return hwnd_ ? ::GetDlgItem(hwnd_, id) : nullptr; }
  void EndDialog(INT_PTR result);

 protected:
  // Runs DoDataExchange; true lets the dialog manager focus the first tab stop.
  virtual BOOL OnInitDialog();
  // Binds members to controls.
  virtual void DoDataExchange() {}

  // Handlers; each returns false for default processing.
  virtual bool OnCommand(WORD id, WORD code, HWND control);
  virtual bool OnSysCommand(UINT id, LPARAM lParam);
  virtual bool OnPaint();
  // `point` is in screen coordinates; (-1, -1) when the menu was asked for from the keyboard.
  virtual bool OnContextMenu(HWND window, POINT point);
  // Null for default processing.
  virtual HCURSOR OnQueryDragIcon();
  virtual void OnDestroy() {}
  // The window moved to a monitor of another DPI; the dialog manager rescales the template's
  // fonts and controls itself.
  virtual void OnDpiChanged(UINT /*dpi*/) {}

  virtual void OnOK();
  virtual void OnCancel();

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // True when handled, with `result` the message's result.
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  HWND OwnerWindow() const;

  UINT templateId_;
  DialogBase* parent_;
  HWND hwnd_ = nullptr;
};

// The whole text of a window; empty for a missing window.
Text WindowText(HWND window);

// The module that holds the dialogs, menus and strings: the application's, else the executable.
HINSTANCE ResourceInstance();

// A string resource of the running module; empty when it is missing.
Text LoadResourceText(UINT id);

// Painting context of one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};
