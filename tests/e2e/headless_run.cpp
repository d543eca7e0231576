// Runs one whole connection test natively, without the dialog, and prints the list as it grows,
// then the report's summary.
//   quorvex-headless USER PASSWORD
// The run log goes to log/NetLog.log beside this program, as the dialog's does beside Quorvex.exe.
#include <condition_variable>
#include <iostream>
#include <mutex>

#include "app/report_text.h"
#include "catalogue/global_data_collection.h"
#include "service/http_service_library.h"
#include "shell/main_window.h"
#include "shell/progress_list.h"
#include "testrun/run_outcome.h"
#include "testrun/run_start.h"

namespace {

class PrintingList : public ProgressList {
 public:
  void InsertAtEnd(const Text& line) override {
    std::lock_guard<std::mutex> guard(lock_);
    ++count_;
    std::cout << "list: " << ToUtf8(line) << std::endl;
  }
  int GetCount() override {
    std::lock_guard<std::mutex> guard(lock_);
    return count_;
  }
  void SetCurSel(int) override {}
  void ResetContent() override {}

 private:
  std::mutex lock_;
  int count_ = 0;
};

class WaitingWindow : public MainWindow {
 public:
  void EnableTestButton() override {
    std::lock_guard<std::mutex> guard(lock_);
    enabled_ = true;
    changed_.notify_all();
  }
  void SetLocalAddressText(const Text& text) override {
    std::lock_guard<std::mutex> guard(lock_);
    address_ = text;
    addressSet_ = true;
    changed_.notify_all();
  }
  // The button back and the address shown, or the time is up.
  bool WaitForRunEnd(std::chrono::seconds limit, Text& address) {
    std::unique_lock<std::mutex> guard(lock_);
    const bool ended = changed_.wait_for(guard, limit, [this] { return enabled_ && addressSet_; });
    address = address_;
    return ended;
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  bool enabled_ = false;
  bool addressSet_ = false;
  Text address_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: quorvex-headless USER PASSWORD\n";
    return 2;
  }
  InstallServiceLibrary(CreateHttpServiceLibrary());
  // Never freed: the workers are detached and may outlive main on a time-out.
  auto* list = new PrintingList;
  auto* window = new WaitingWindow;
  g_pProgressList = list;
  SetAppMainWindow(window);

  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  catalogue.userName = FromUtf8(argv[1]);
  catalogue.password = FromUtf8(argv[2]);
  StartTestRunWorkers(window);

  Text address;
  if (!window->WaitForRunEnd(std::chrono::seconds(120), address)) {
    std::cerr << "the run did not end within 120 s\n";
    return 1;
  }
  std::cout << "1004: " << ToUtf8(address) << std::endl;
  for (const Text& line : ReportSummary(RunOutcomeSnapshot())) {
    std::cout << "report: " << ToUtf8(line) << std::endl;
  }
  return 0;
}
