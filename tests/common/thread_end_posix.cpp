#include "tests/common/thread_end.h"

// glibc runs a thread_local's destructor safely at the thread's exit.
void NotifyWhenThisThreadEnds(std::function<void()> notify) {
  struct Notice {
    std::function<void()> notify;
    ~Notice() { notify(); }
  };
  thread_local Notice notice{[] {}};
  notice.notify = std::move(notify);
}
