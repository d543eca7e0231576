// The properties a fuzz target checks beyond "no crash".
#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property aborts, which libFuzzer reports as a crash and keeps the input of.
inline void Check(bool holds, const char* property) {
  if (holds) return;
  std::fputs("broken: ", stderr);
  std::fputs(property, stderr);
  std::fputs("\n", stderr);
  std::abort();
}
