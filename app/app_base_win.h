// The application object: one per process, set up by the entry point, runs InitInstance.
#pragma once

#include <windows.h>

#include "support/text.h"

class DialogBase;

class ApplicationBase {
 public:
  // The one object registers itself; it must be constructed before the entry point runs.
  ApplicationBase();
  virtual ~ApplicationBase();
  ApplicationBase(const ApplicationBase&) = delete;
  ApplicationBase& operator=(const ApplicationBase&) = delete;

  static ApplicationBase* Current();

  // Called by the entry point: records the instance and the name, then runs the application.
  int Main(HINSTANCE instance);

  // The executable's base name, as message boxes show it in their caption.
  const Text& AppName() const { return appName_; }
  HINSTANCE Instance() const { return instance_; }

  // The window that owns dialogs opened without a parent.
  DialogBase* m_pMainWnd = nullptr;

 protected:
  // False ends the program at once, with ExitInstance's code; true runs the message loop.
  virtual bool InitInstance();
  virtual int ExitInstance();
  virtual int Run();

 private:
  HINSTANCE instance_ = nullptr;
  Text appName_;
};
