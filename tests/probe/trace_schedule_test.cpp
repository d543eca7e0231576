#include <gtest/gtest.h>

#include <map>

#include "probe/trace_schedule.h"

namespace {

// Paths of routers (addresses 1, 2, ...) to nodes (100 and on) that answer at once, every router
// limiting its answers as Linux does: a burst of 6, then one a second. The schedule is run on a
// clock of its own until it finishes.
struct Traced {
  uint64_t endMs = 0;
  size_t mostInFlight = 0;
  bool denied = false;                         // a router had no token left for an echo
  bool pastLimit = false;                      // an echo's wait ran past the limit
  uint64_t closestAskMs = UINT64_MAX;          // the shortest time between two asks of one address
  std::vector<std::vector<uint32_t>> samples;  // per node and hop: echoes that counted there
  std::vector<std::vector<uint32_t>> own;      // per node and hop: echoes sent to that node
};

Traced Trace(const std::vector<std::vector<uint32_t>>& paths, size_t room) {
  std::vector<uint32_t> nodes;
  for (size_t i = 0; i < paths.size(); ++i) nodes.push_back(static_cast<uint32_t>(100 + i));
  const TraceTimes times{.limitMs = TraceLimitMs(nodes.size())};
  TraceSchedule schedule(nodes, times);
  Traced run;
  std::map<uint32_t, std::pair<uint64_t, uint64_t>> buckets;  // tokens in ms, last ask
  std::multimap<uint64_t, std::pair<TraceProbe, TraceEcho>> answers;
  uint64_t now = 0;
  run.own.assign(paths.size(), std::vector<uint32_t>(kTraceMaxTtl + 1));
  while (!schedule.Finished(now) && now < 60000) {
    for (const TraceProbe& probe : schedule.Due(now, room - schedule.inFlight())) {
      const std::vector<uint32_t>& path = paths[probe.node];
      const uint32_t from = probe.ttl <= path.size() ? path[probe.ttl - 1] : nodes[probe.node];
      auto& [tokens, last] = buckets.try_emplace(from, 6000, 0).first->second;
      if (last != 0) run.closestAskMs = std::min(run.closestAskMs, now - last);
      tokens = std::min<uint64_t>(tokens + now - last, 6000);
      last = now;
      const bool answered = from >= 100 || tokens >= 1000;
      if (from < 100 && answered) tokens -= 1000;
      run.denied = run.denied || !answered;
      run.pastLimit = run.pastLimit || now + probe.waitMs > times.limitMs;
      ++run.own[probe.node][probe.ttl];
      TraceEcho echo{probe.ttl, from >= 100 ? EchoAnswer::kReply : EchoAnswer::kTimeExceeded, from,
                     1};
      if (!answered) echo = {probe.ttl, EchoAnswer::kOther, 0, 0};
      answers.emplace(now + (answered ? 1 : probe.waitMs), std::make_pair(probe, echo));
    }
    run.mostInFlight = std::max(run.mostInFlight, schedule.inFlight());
    uint64_t next = schedule.NextMs(now);
    if (!answers.empty()) next = std::min(next, answers.begin()->first);
    now = std::max(now + 1, next);
    while (!answers.empty() && answers.begin()->first <= now) {
      schedule.Answered(answers.begin()->second.first, answers.begin()->second.second);
      run.endMs = std::max(run.endMs, answers.begin()->first);
      answers.erase(answers.begin());
    }
  }
  for (size_t node = 0; node < paths.size(); ++node) {
    run.samples.emplace_back(kTraceMaxTtl + 1);
    for (size_t other = 0; other < paths.size(); ++other) {
      for (const TraceEcho& echo : schedule.echoes()[other]) {
        const bool mine =
            other == node || (echo.ttl <= paths[node].size() && echo.ttl <= paths[other].size() &&
                              paths[node][echo.ttl - 1] == paths[other][echo.ttl - 1]);
        if (mine && echo.ttl <= paths[node].size() + 1) ++run.samples[node][echo.ttl];
      }
    }
  }
  return run;
}

// The limits hold on a clock the test turns: per router, in flight, the deadline.
TEST(TraceScheduleTest, PacesEachRouterWithinTheLimits) {
  const std::vector<uint32_t> chain = {1, 2, 3, 4};
  const struct {
    const char* what;
    std::vector<std::vector<uint32_t>> paths;
    size_t room;
    uint64_t withinMs;
  } table[] = {
      {"one node behind four routers", {chain}, 128, 11000},
      {"five nodes behind the same four", {chain, chain, chain, chain, chain}, 128, 15000},
      {"two paths that part after hop 2, one echo in flight", {chain, {1, 2, 7, 8}}, 1, 12000},
  };
  for (const auto& row : table) {
    const Traced run = Trace(row.paths, row.room);
    EXPECT_FALSE(run.denied) << row.what;
    EXPECT_FALSE(run.pastLimit) << row.what;
    EXPECT_GE(run.closestAskMs, kTraceAnswerIntervalMs) << row.what;
    EXPECT_LE(run.mostInFlight, row.room) << row.what;
    EXPECT_LE(run.endMs, row.withinMs) << row.what;
    for (size_t node = 0; node < row.paths.size(); ++node) {
      for (uint32_t ttl = 1; ttl <= row.paths[node].size() + 1; ++ttl) {
        // Ten rounds at every hop, the node's own included; a turn of its own at each shared one.
        EXPECT_EQ(run.samples[node][ttl], kTraceRounds)
            << row.what << ", node " << node << ", hop " << ttl;
        EXPECT_GE(run.own[node][ttl], 1u) << row.what << ", node " << node << ", hop " << ttl;
      }
    }
  }
}

}  // namespace
