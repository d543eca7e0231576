#include "testrun/run_start.h"

#include "support/run_log.h"
#include "support/worker_thread.h"
#include "testrun/local_address.h"
#include "testrun/run_outcome.h"
#include "testrun/test_run_controller.h"

void StartTestRunWorkers(MainWindow* dialog) {
  ResetRunOutcome();
  // On before either worker runs: an address answer quicker than the controller's first step
  // would otherwise be dropped from the log of a program's first run.
  runLogEnabled = true;
  // A controller that cannot start would leave the button disabled for good.
  if (!StartDetachedThread([] { TestRunThread(); })) {
    RecordRunEnded();
    if (dialog != nullptr) dialog->EnableTestButton();
  }
  StartDetachedThread([dialog] { LocalAddressThread(dialog); });
}
