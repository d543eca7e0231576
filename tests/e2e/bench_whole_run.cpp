// bench_whole_run: the wall time of whole runs in which both login servers accept (the case
// both-servers-accept: two logins, two flows, two surveys, the call sample), from the start of the
// run's workers, as the test button starts them, to the button given back; beside the floor of
// two 2000 ms surveys and the 6000 ms sample. Another case's user times that case's runs instead:
// call-quality-loss (one node rated 差, so its path is traced) against call-quality-good (the same
// run with a good node) gives what the trace adds. Run it inside scripts/netns-run, natively and
// under Wine:
//   bench_whole_run [RUNS [USER]]    (5 runs of both-servers-accept unless told)
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "testrun/run_outcome.h"
#include "testrun/run_start.h"
#include "tests/common/headless_shell.h"

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::min(50, std::atoi(argv[1]))) : 5;
  const std::string user = argc > 2 ? argv[2] : "both-servers-accept";
  const HeadlessShell shell = InstallHeadlessShell(Text(user.begin(), user.end()), L"secret");
  RecordingProgressList* const list = shell.list;
  RecordingMainWindow* const window = shell.window;

  constexpr double kFloorMs = 2 * 2000 + 6000;
  std::vector<double> times;
  for (int run = 1; run <= runs; ++run) {
    list->ResetContent();
    const auto start = std::chrono::steady_clock::now();
    StartTestRunWorkers(window);
    // The call sample and the traces run from when the run records them started until they ended.
    double sampleStartMs = -1;
    double sampleMs = -1;
    double traceStartMs = -1;
    double tracesMs = -1;
    const auto elapsedMs = [start] {
      return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
          .count();
    };
    for (bool ended = false; !ended;) {
      ended = window->WaitForButtonEnabled(run, 10);
      if (elapsedMs() > 60000) {
        std::cerr << "run " << run << ": the button did not come back within 60 s\n";
        return 1;
      }
      // Looked at once more after the button came back: the logout after the traces is quick.
      const RunOutcome outcome = RunOutcomeSnapshot();
      if (sampleStartMs < 0 && outcome.sample == RunOutcome::Sample::kRunning)
        sampleStartMs = elapsedMs();
      if (sampleStartMs >= 0 && sampleMs < 0 && outcome.sample == RunOutcome::Sample::kEnded)
        sampleMs = elapsedMs() - sampleStartMs;
      if (traceStartMs < 0 && !outcome.paths.empty()) traceStartMs = elapsedMs();
      if (traceStartMs >= 0 && tracesMs < 0 &&
          std::all_of(outcome.paths.begin(), outcome.paths.end(),
                      [](const PathRecord& path) { return path.trace.ended; }))
        tracesMs = elapsedMs() - traceStartMs;
    }
    const double ms = elapsedMs();
    int surveys = 0;
    for (const Text& line : list->Lines())
      surveys += line == L"Successed ---> 测试服务器节点延时 Ping";
    std::cout << "run " << run << ": " << static_cast<long>(ms) << " ms, " << surveys
              << " surveys succeeded";
    if (sampleMs >= 0) std::cout << ", call sample " << static_cast<long>(sampleMs) << " ms";
    if (tracesMs >= 0) std::cout << ", traces " << static_cast<long>(tracesMs) << " ms";
    std::cout << std::endl;
    if (surveys == 0) return 1;
    times.push_back(ms);
    window->WaitForLocalAddress(run, 15000);
  }
  std::sort(times.begin(), times.end());
  std::cout << "press to button back: min " << static_cast<long>(times.front()) << " ms, median "
            << static_cast<long>(times[times.size() / 2]) << " ms, max "
            << static_cast<long>(times.back()) << " ms";
  // The floor is that of both-servers-accept's two surveys and its call sample.
  if (user == "both-servers-accept")
    std::cout << "; floor " << kFloorMs << " ms, floor + 10 % " << kFloorMs * 1.1 << " ms";
  std::cout << std::endl;
  return 0;
}
