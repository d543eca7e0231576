#include <windows.h>

#include <thread>

#include "support/handle_win.h"
#include "tests/common/thread_end.h"

// Not a thread_local's destructor: under mingw-w64's winpthreads one ran into a destroyed mutex at
// a thread's exit (std::system_error, page faults in the heap).
void NotifyWhenThisThreadEnds(std::function<void()> notify) {
  std::thread([thread = FileHandle(OpenThread(SYNCHRONIZE, FALSE, GetCurrentThreadId())),
               notify = std::move(notify)] {
    WaitForSingleObject(thread.get(), INFINITE);  // at once when the handle could not be had
    notify();
  }).detach();
}
