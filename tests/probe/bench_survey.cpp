// bench_survey: the node survey with the real echo over 1, 8, 32 and 64 loopback nodes
// (127.0.0.x), and, where the ICMP responder of scripts/netns-run serves its test hosts, 64 nodes
// of which some never answer. For each it prints the survey's wall time, the CPU time the process
// burned, the CPU time of every process in the namespace, and the peak thread count. Run it inside
// scripts/netns-run: it sends ICMP.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <mutex>
#include <thread>

#include "probe/launcher.h"
#include "tests/probe/cpu_time.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
  bool succeeded = false;
  double wallMs = 0;
  double cpuMs = 0;
  double namespaceCpuMs = 0;
  int peakThreads = 0;
  int answered = 0;  // nodes with some echo answered
  int worstLost = 0;
};

// Samples the thread count every 2 ms while the survey runs.
class ThreadSampler {
 public:
  ThreadSampler() : thread_([this] { Sample(); }) {}
  ~ThreadSampler() {
    {
      std::lock_guard<std::mutex> hold(lock_);
      stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }
  int peak() const { return peak_; }

 private:
  void Sample() {
    std::unique_lock<std::mutex> hold(lock_);
    while (!stop_) {
      const int now = ProcessThreadCount();
      if (now > peak_) peak_ = now;
      changed_.wait_for(hold, std::chrono::milliseconds(2));
    }
  }

  std::mutex lock_;
  std::condition_variable changed_;
  bool stop_ = false;
  std::atomic<int> peak_{0};
  std::thread thread_;
};

Figures Survey(int loopbackNodes, int silentNodes) {
  Launcher launcher;
  TextList rtpp;
  for (int i = 1; i <= loopbackNodes; ++i) rtpp.push_back(L"127.0.0." + ToText(i) + L":10000");
  TextList sip;
  for (int i = 0; i < silentNodes; ++i)
    sip.push_back(L"198.18.0." + ToText(50 + i % 10) + L":5060");
  launcher.AddNodeList(rtpp, Rtpp);
  if (!sip.empty()) launcher.AddNodeList(sip, Sip);

  Figures figures;
  const double cpuBefore = ProcessCpuMs();
  const double namespaceBefore = VisibleProcessesCpuMs();
  const Clock::time_point start = Clock::now();
  {
    ThreadSampler sampler;
    figures.succeeded = launcher.SurveyNodes();
    figures.wallMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    figures.peakThreads = sampler.peak() - 1;  // not counting the sampler
  }
  figures.cpuMs = ProcessCpuMs() - cpuBefore;
  const double namespaceAfter = VisibleProcessesCpuMs();
  figures.namespaceCpuMs = namespaceBefore < 0 ? -1 : namespaceAfter - namespaceBefore;
  for (const NodeResult& record : launcher.results) {
    if (record.lost != 100) ++figures.answered;
    if (record.lost != 100 && record.lost > figures.worstLost) figures.worstLost = record.lost;
  }
  return figures;
}

void Print(int loopbackNodes, int silentNodes, const Figures& figures) {
  std::cout << std::fixed << std::setprecision(0) << std::setw(3) << loopbackNodes + silentNodes
            << " nodes (" << std::setw(2) << silentNodes << " silent): wall " << std::setw(5)
            << figures.wallMs << " ms, cpu " << std::setw(5) << figures.cpuMs
            << " ms, namespace cpu ";
  if (figures.namespaceCpuMs < 0) {
    std::cout << "  n/a";
  } else {
    std::cout << std::setw(5) << figures.namespaceCpuMs << " ms";
  }
  std::cout << ", peak threads " << std::setw(3) << figures.peakThreads << ", answered "
            << figures.answered << " (worst loss " << figures.worstLost << " %)"
            << ", survey " << (figures.succeeded ? "ok" : "FAILED") << "\n";
}

}  // namespace

int main() {
  if (std::getenv("QUORVEX_IN_NETNS") == nullptr) {
    std::cerr << "bench_survey sends ICMP: run it inside scripts/netns-run\n";
    return 2;
  }
  const bool testHosts = std::getenv("QUORVEX_ICMP_SIM_RUNNING") != nullptr;
  std::cout << "survey: " << kProbeDurationMs << " ms per node, " << kEchoTimeoutMs
            << " ms per echo, limit " << kBatchWaitMs << " ms\n";
  bool allOk = true;
  struct Size {
    int loopback, silent;
  };
  const Size sizes[] = {{1, 0}, {8, 0}, {32, 0}, {64, 0}, {32, 32}, {0, 64}};
  for (const Size& size : sizes) {
    if (size.silent > 0 && !testHosts) continue;
    const Figures figures = Survey(size.loopback, size.silent);
    Print(size.loopback, size.silent, figures);
    allOk = allOk && figures.succeeded && figures.answered == size.loopback;
  }
  if (!testHosts) std::cout << "(no ICMP responder: the runs with silent nodes were left out)\n";
  return allOk ? 0 : 1;
}
