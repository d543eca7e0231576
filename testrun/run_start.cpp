#include "testrun/run_start.h"

#include "support/worker_thread.h"
#include "testrun/local_address.h"
#include "testrun/test_run_controller.h"

void StartTestRunWorkers(MainWindow* dialog) {
  // A controller that cannot start would leave the button disabled for good.
  if (!StartDetachedThread([dialog] { TestRunThread(dialog); }) && dialog != nullptr) {
    dialog->EnableTestButton();
  }
  StartDetachedThread([dialog] { LocalAddressThread(dialog); });
}
