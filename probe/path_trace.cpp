#include "probe/path_trace.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "probe/probe_threads.h"
#include "support/program_closing.h"
#include "support/worker_thread.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Job {
  size_t node;
  uint32_t ttl;
  uint32_t round;
};

// Owned by the trace and its workers together.
struct TraceShare {
  std::mutex lock;
  std::vector<Job> jobs;  // by round, then node, then time to live
  size_t next = 0;
  std::vector<uint32_t> nodes;
  std::vector<uint32_t> lastTtl;  // per node: past its hop or an unreachable answer, nothing more
  std::vector<std::vector<TraceEcho>> echoes;
  std::vector<std::vector<Clock::time_point>> lastSent;  // per node and time to live
  Clock::time_point start;
  Clock::time_point deadline;
  TraceSettings settings;
};

// Sleeps until `when` in short steps, so a close is seen; false once the program is closing.
bool SleepUntil(Clock::time_point when) {
  while (Clock::now() < when) {
    if (ProgramClosing()) return false;
    std::this_thread::sleep_for(
        std::min<Clock::duration>(when - Clock::now(), std::chrono::milliseconds(50)));
  }
  return !ProgramClosing();
}

// The next echo still inside its node's path; the caller holds the lock.
bool TakeJob(TraceShare& share, Job& job) {
  while (share.next < share.jobs.size()) {
    job = share.jobs[share.next++];
    if (job.ttl <= share.lastTtl[job.node]) return true;
  }
  return false;
}

void Worker(const std::shared_ptr<TraceShare>& share, TraceEchoFunction echo) {
  const auto interval = std::chrono::milliseconds(share->settings.roundIntervalMs);
  for (;;) {
    Job job{};
    Clock::time_point sendAt;
    {
      std::lock_guard<std::mutex> hold(share->lock);
      if (!TakeJob(*share, job)) return;
      Clock::time_point& last = share->lastSent[job.node][job.ttl - 1];
      sendAt = std::max(share->start + job.round * interval, last + interval);
      last = sendAt;
    }
    if (!SleepUntil(sendAt)) return;
    {
      // The node's hop may have come to light meanwhile.
      std::lock_guard<std::mutex> hold(share->lock);
      if (job.ttl > share->lastTtl[job.node]) continue;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(share->deadline - Clock::now());
    if (left.count() <= 0) return;
    const uint32_t address = share->nodes[job.node];
    EchoResult result;
    TraceEcho record;
    record.ttl = job.ttl;
    if (echo(result, address, job.ttl,
             std::min<uint32_t>(share->settings.echoTimeoutMs,
                                static_cast<uint32_t>(left.count())))) {
      record.answer = AnswerOf(result.status);
      record.from = result.replyAddress;
      record.roundTripMs = result.roundTripTime;
    }
    std::lock_guard<std::mutex> hold(share->lock);
    share->echoes[job.node].push_back(record);
    const bool ends = (record.answer == EchoAnswer::kReply && record.from == address) ||
                      record.answer == EchoAnswer::kUnreachable;
    if (ends) share->lastTtl[job.node] = std::min(share->lastTtl[job.node], job.ttl);
  }
}

TraceEchoFunction CPingEcho(Text& why) {
  auto ping = std::make_shared<CPing>();
  if (!ping->loaded()) {
    why = L"本机没有可用的 ICMP 功能（没有 ICMP 库或没有权限）";
    return nullptr;
  }
  return [ping](EchoResult& result, uint32_t address, uint32_t ttl, uint32_t timeoutMs) {
    return ping->Probe(result, address, ttl, timeoutMs);
  };
}

}  // namespace

PathTrace SummarisePath(uint32_t node, const std::vector<TraceEcho>& echoes) {
  PathTrace trace;
  trace.node = node;
  trace.ended = true;
  uint32_t nodeHop = 0;
  uint32_t last = kTraceMaxTtl;
  for (const TraceEcho& echo : echoes) {
    if (echo.answer == EchoAnswer::kReply && echo.from == node &&
        (nodeHop == 0 || echo.ttl < nodeHop)) {
      nodeHop = echo.ttl;
    }
    if (echo.answer == EchoAnswer::kUnreachable) last = std::min(last, echo.ttl);
  }
  if (nodeHop != 0) last = std::min(last, nodeHop);
  uint32_t highest = 0;
  for (const TraceEcho& echo : echoes) highest = std::max(highest, std::min(echo.ttl, last));
  trace.hops.resize(highest);
  std::vector<std::vector<std::pair<uint32_t, uint32_t>>> answerers(highest);  // address, count
  for (const TraceEcho& echo : echoes) {
    const uint32_t ttl = nodeHop != 0 && echo.ttl > nodeHop ? nodeHop : echo.ttl;
    if (ttl > last) continue;
    PathHop& hop = trace.hops[ttl - 1];
    ++hop.sent;
    if (echo.answer == EchoAnswer::kOther) continue;
    if (hop.answered == 0 || echo.roundTripMs < hop.fastest) hop.fastest = echo.roundTripMs;
    ++hop.answered;
    hop.roundTripSum += echo.roundTripMs;
    if (echo.answer == EchoAnswer::kUnreachable) hop.unreachable = true;
    auto& seen = answerers[ttl - 1];
    auto found = std::find_if(seen.begin(), seen.end(),
                              [&](const auto& entry) { return entry.first == echo.from; });
    if (found == seen.end()) {
      seen.emplace_back(echo.from, 1);
    } else {
      ++found->second;
    }
  }
  for (uint32_t i = 0; i < highest; ++i) {
    PathHop& hop = trace.hops[i];
    hop.ttl = i + 1;
    hop.node = hop.ttl == nodeHop;
    uint32_t most = 0;
    for (const auto& [address, count] : answerers[i]) {
      if (count > most) {
        most = count;
        hop.address = address;
      }
    }
  }
  return trace;
}

std::vector<PathTrace> TracePaths(const std::vector<uint32_t>& nodes,
                                  const TraceSettings& settings) {
  std::vector<PathTrace> traces(nodes.size());
  if (nodes.empty()) return traces;
  auto share = std::make_shared<TraceShare>();
  share->settings = settings;
  share->nodes = nodes;
  share->lastTtl.assign(nodes.size(), kTraceMaxTtl);
  share->echoes.resize(nodes.size());
  for (uint32_t round = 0; round < kTraceRounds; ++round) {
    for (size_t node = 0; node < nodes.size(); ++node) {
      for (uint32_t ttl = 1; ttl <= kTraceMaxTtl; ++ttl) share->jobs.push_back({node, ttl, round});
    }
  }
  // Enough workers for every hop's echoes of two rounds at once, within the process's limit.
  const size_t wanted = std::min<size_t>(
      kMaxTraceEchoesInFlight,
      nodes.size() * kTraceMaxTtl * (settings.echoTimeoutMs / settings.roundIntervalMs + 1));
  const TraceEchoFactory factory =
      settings.makeEcho ? settings.makeEcho : TraceEchoFactory(CPingEcho);
  std::vector<TraceEchoFunction> echoes;
  Text why;
  for (size_t i = 0; i < wanted; ++i) {
    TraceEchoFunction echo = factory(why);
    if (!echo) break;
    echoes.push_back(std::move(echo));
  }
  if (echoes.empty()) {
    for (PathTrace& trace : traces) {
      trace.ended = true;
      trace.failure = why;
    }
    return traces;
  }
  share->start = Clock::now();
  share->deadline = share->start + std::chrono::milliseconds(settings.limitMs);
  share->lastSent.assign(
      nodes.size(),
      std::vector<Clock::time_point>(
          kTraceMaxTtl, share->start - std::chrono::milliseconds(settings.roundIntervalMs)));
  AdmitProbeThreads(echoes.size());
  std::vector<std::thread> workers(echoes.size());
  size_t started = 0;
  for (; started < echoes.size(); ++started) {
    auto body = [share, echo = std::move(echoes[started])]() mutable {
      Worker(share, std::move(echo));
      ProbeThreadsEnded();
    };
    if (!StartThread(workers[started], std::move(body))) break;
  }
  if (started < echoes.size()) ProbeThreadsEnded(echoes.size() - started);
  for (size_t i = 0; i < started; ++i) workers[i].join();
  for (size_t i = 0; i < nodes.size(); ++i) traces[i] = SummarisePath(nodes[i], share->echoes[i]);
  return traces;
}
