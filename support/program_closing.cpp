#include "support/program_closing.h"

#include <atomic>

namespace {
std::atomic<bool> closing{false};
}

void BeginProgramClose() { closing.store(true); }

bool ProgramClosing() { return closing.load(); }
