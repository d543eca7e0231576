// Stand-ins for the dialog: a list that records its lines and a window that records its calls.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "shell/main_window.h"
#include "shell/progress_list.h"

class RecordingProgressList : public ProgressList {
 public:
  void InsertAtEnd(const Text& line) override;
  int GetCount() override;
  void SetCurSel(int index) override;
  void ResetContent() override;

  TextList Lines();
  int Selection();
  // Every call in order, e.g. "insert:text", "count", "select:3", "reset".
  std::vector<std::string> Calls();
  // Drops the calls recorded so far, so that a long series of runs does not pile them up.
  void ForgetCalls();

 private:
  std::mutex lock_;
  TextList lines_;
  int selection_ = -1;
  std::vector<std::string> calls_;
};

class RecordingMainWindow : public MainWindow {
 public:
  void EnableTestButton() override;
  void SetLocalAddressText(const Text& text) override;

  // Waits until the button was enabled `count` times in all; false on time-out.
  bool WaitForButtonEnabled(int count, int timeoutMs);
  // Waits until the address line was set `count` times in all; false on time-out.
  bool WaitForLocalAddress(int count, int timeoutMs);
  // Waits until `count` threads that set the address line have ended (and so written its run log
  // record, or failed to); false on time-out.
  bool WaitForAddressThreadsEnded(int count, int timeoutMs);
  Text LocalAddressText();
  int ButtonEnables();

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  int buttonEnables_ = 0;
  int addressSets_ = 0;
  Text localAddress_;
  // Counted at a worker's exit, which may come after this window is gone.
  struct ThreadEnds {
    std::mutex lock;
    std::condition_variable ended;
    int count = 0;
  };
  const std::shared_ptr<ThreadEnds> addressThreadEnds_ = std::make_shared<ThreadEnds>();
};

// Installs a recording list as g_pProgressList for the lifetime of the object.
class ScopedRecordingList {
 public:
  ScopedRecordingList();
  ~ScopedRecordingList();
  RecordingProgressList& list() { return list_; }

 private:
  RecordingProgressList list_;
  ProgressList* previous_;
};
