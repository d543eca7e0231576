// Holds the threads another process starts, at their first instruction, so that the state the
// process was in when it started them can be read before they run. Works as a debugger: attach,
// let something start threads, suspend each new one, detach.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "support/text.h"

class ThreadHold {
 public:
  ThreadHold() = default;
  ~ThreadHold() { Release(); }
  ThreadHold(const ThreadHold&) = delete;
  ThreadHold& operator=(const ThreadHold&) = delete;

  // Attaches to `processId`, runs `trigger`, and holds the first `count` threads started after it.
  // `started` runs for each of them while the whole process is still stopped at that thread's
  // start, so it must not send messages to the process. False with `error` set when that does
  // not happen within `timeoutMs`; whatever was held stays held until Release.
  bool HoldNewThreads(DWORD processId, int count, int timeoutMs,
                      const std::function<void()>& trigger,
                      const std::function<void(int index)>& started, Text& error);
  int Held() const { return static_cast<int>(threads_.size()); }
  // Lets every held thread run.
  void Release();

 private:
  std::vector<HANDLE> threads_;
};
