#include "tests/common/thread_end.h"

namespace {

// glibc runs it at the thread's exit, before the thread counts as ended.
struct ThreadExitNotice {
  std::function<void()> notify;
  ~ThreadExitNotice() {
    if (notify) notify();
  }
};

}  // namespace

void NotifyWhenThisThreadEnds(std::function<void()> notify) {
  thread_local ThreadExitNotice notice;
  notice.notify = std::move(notify);
}
