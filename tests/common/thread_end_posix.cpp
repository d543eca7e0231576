#include "tests/common/thread_end.h"

namespace {

struct ThreadExitNotice {
  std::function<void()> notify;
  ~ThreadExitNotice() { notify(); }
};

}  // namespace

void NotifyWhenThisThreadEnds(std::function<void()> notify) {
  thread_local ThreadExitNotice notice{[] {}};
  notice.notify = std::move(notify);
}
