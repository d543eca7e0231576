#include "tests/common/recording_shell.h"

#include "tests/common/thread_end.h"

#include <chrono>

void RecordingProgressList::InsertAtEnd(const Text& line) {
  std::lock_guard<std::mutex> guard(lock_);
  lines_.push_back(line);
  calls_.push_back("insert:" + ToUtf8(line));
}

int RecordingProgressList::GetCount() {
  std::lock_guard<std::mutex> guard(lock_);
  calls_.push_back("count");
  return static_cast<int>(lines_.size());
}

void RecordingProgressList::SetCurSel(int index) {
  std::lock_guard<std::mutex> guard(lock_);
  selection_ = index;
  calls_.push_back("select:" + std::to_string(index));
}

void RecordingProgressList::ResetContent() {
  std::lock_guard<std::mutex> guard(lock_);
  lines_.clear();
  selection_ = -1;
  calls_.push_back("reset");
}

TextList RecordingProgressList::Lines() {
  std::lock_guard<std::mutex> guard(lock_);
  return lines_;
}

int RecordingProgressList::Selection() {
  std::lock_guard<std::mutex> guard(lock_);
  return selection_;
}

void RecordingProgressList::ForgetCalls() {
  std::lock_guard<std::mutex> guard(lock_);
  calls_.clear();
  calls_.shrink_to_fit();
}

std::vector<std::string> RecordingProgressList::Calls() {
  std::lock_guard<std::mutex> guard(lock_);
  return calls_;
}

void RecordingMainWindow::EnableTestButton() {
  std::lock_guard<std::mutex> guard(lock_);
  ++buttonEnables_;
  changed_.notify_all();
}

void RecordingMainWindow::SetLocalAddressText(const Text& text) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    localAddress_ = text;
    ++addressSets_;
    changed_.notify_all();
  }
  // A worker shows the address, then logs it: its end tells that the record was written.
  NotifyWhenThisThreadEnds([ends = addressThreadEnds_] {
    std::lock_guard<std::mutex> guard(ends->lock);
    ++ends->count;
    ends->ended.notify_all();
  });
}

bool RecordingMainWindow::WaitForAddressThreadsEnded(int count, int timeoutMs) {
  std::unique_lock<std::mutex> guard(addressThreadEnds_->lock);
  return addressThreadEnds_->ended.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                                            [&] { return addressThreadEnds_->count >= count; });
}

bool RecordingMainWindow::WaitForButtonEnabled(int count, int timeoutMs) {
  std::unique_lock<std::mutex> guard(lock_);
  return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                           [&] { return buttonEnables_ >= count; });
}

bool RecordingMainWindow::WaitForLocalAddress(int count, int timeoutMs) {
  std::unique_lock<std::mutex> guard(lock_);
  return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                           [&] { return addressSets_ >= count; });
}

Text RecordingMainWindow::LocalAddressText() {
  std::lock_guard<std::mutex> guard(lock_);
  return localAddress_;
}

int RecordingMainWindow::ButtonEnables() {
  std::lock_guard<std::mutex> guard(lock_);
  return buttonEnables_;
}

ScopedRecordingList::ScopedRecordingList() : previous_(g_pProgressList) {
  g_pProgressList = &list_;
}

ScopedRecordingList::~ScopedRecordingList() { g_pProgressList = previous_; }
