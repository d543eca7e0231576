// soak_whole_runs: many whole runs in one process against the simulator, cycling through ordinary
// and fault cases, printing every 10 runs what the process holds. From the 10th run on, none of
// threads, descriptors and private memory may grow by more than a small constant; the exit code
// says whether one did. Run it inside scripts/netns-run, also in the asan and tsan builds (under
// Wine, tests/soak/dialog-soak does the same through the dialog):
//   soak_whole_runs [RUNS [CASE...]]    (200 runs of the cases of soak_cases.h unless told)
#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <cstdlib>
#include <iostream>
#include <vector>

#include "catalogue/global_data_collection.h"
#include "testrun/run_start.h"
#include "tests/common/headless_shell.h"
#include "tests/common/held_resources.h"
#include "tests/soak/soak_cases.h"

namespace {

// Growth allowed from the 10th run to the last: a thread or two still leaving a run, the buffers
// the runtime and the resolver keep, a page of the allocator here and there.
constexpr long kThreadGrowth = 4;
constexpr long kDescriptorGrowth = 16;
constexpr long kPrivateGrowthKiB = 8 * 1024;

}  // namespace

int main(int argc, char** argv) {
#ifdef __GLIBC__
  // A fixed threshold: every large block (a login record of 1 MiB, say) is mapped on its own and
  // given back when freed, as on Windows. With the allocator's own moving threshold such blocks
  // stay in the thread arenas after their run, which reads as growth but is none.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
  const int runs = argc > 1 ? std::max(10, std::min(10000, std::atoi(argv[1]))) : 200;
  std::vector<Text> cases(std::begin(kSoakCases), std::end(kSoakCases));
  if (argc > 2) {
    cases.clear();
    for (int i = 2; i < argc; ++i) cases.push_back(FromUtf8(argv[i]));
  }
  const HeadlessShell shell = InstallHeadlessShell(cases[0], L"secret");
  GlobalDataCollection& catalogue = GetGlobalDataCollection();

  ProcessStats baseline;
  ProcessStats now;
  bool flat = true;
  for (int run = 1; run <= runs; ++run) {
    const Text& user = cases[static_cast<size_t>(run - 1) % cases.size()];
    catalogue.userName = user;
    shell.list->ResetContent();
    shell.list->ForgetCalls();
    StartTestRunWorkers(shell.window);
    if (!shell.window->WaitForButtonEnabled(run, 120000) ||
        !shell.window->WaitForLocalAddress(run, 30000)) {
      std::cerr << "run " << run << " (" << ToUtf8(user) << "): not over within 150 s\n";
      return 1;
    }
    if (run % 10 != 0) continue;
    ReturnFreeMemory();
    if (!ReadProcessStats(0, now)) {
      std::cerr << "cannot read this process's figures\n";
      return 1;
    }
    std::cout << "after " << run << " runs: " << DescribeProcessStats(now) << std::endl;
    if (run == 10) {
      baseline = now;
    } else if (now.threads - baseline.threads > kThreadGrowth ||
               now.descriptors - baseline.descriptors > kDescriptorGrowth ||
               now.privateKiB - baseline.privateKiB > kPrivateGrowthKiB) {
      flat = false;
    }
  }
  std::cout << (flat ? "flat" : "GROWING") << ": from run 10 to run " << runs << ", threads "
            << now.threads - baseline.threads << ", descriptors "
            << now.descriptors - baseline.descriptors << ", private "
            << now.privateKiB - baseline.privateKiB << " KiB (allowed " << kThreadGrowth << ", "
            << kDescriptorGrowth << ", " << kPrivateGrowthKiB << " KiB)" << std::endl;
  return flat ? 0 : 1;
}
