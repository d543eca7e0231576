// The application: starts the common controls and runs the main dialog.
#pragma once

#include "app/app_base_win.h"

class CQuorvexApp : public ApplicationBase {
 protected:
  bool InitInstance() override;
};
