// What workers may do to the main window besides appending lines.
#pragma once

#include "support/text.h"

class MainWindow {
 public:
  virtual ~MainWindow() = default;
  // Gives the test button back to the user, if the control exists.
  virtual void EnableTestButton() = 0;
  // Shows the local address line at the top of the dialog.
  virtual void SetLocalAddressText(const Text& text) = 0;
};

// The application's main window; set before any worker starts, never freed while workers may run.
MainWindow* GetAppMainWindow();
void SetAppMainWindow(MainWindow* window);
