#include "probe/path_trace.h"

#include <algorithm>
#include <chrono>
#include <map>

#include "probe/probe_threads.h"
#include "support/program_closing.h"

namespace {

using Clock = std::chrono::steady_clock;

// The longest the loop sleeps between looks at the time, so that a close is seen at once.
constexpr uint64_t kLookEveryMs = 20;

Text Refusal(uint32_t error) {
  return L"系统拒绝发送 ICMP 回显（错误码 " + ToText(static_cast<int32_t>(error)) + L"）";
}

}  // namespace

std::vector<PathTrace> TracePaths(const std::vector<uint32_t>& nodes,
                                  const TraceSettings& settings) {
  std::vector<PathTrace> traces(nodes.size());
  if (nodes.empty()) return traces;
  Text why;
  std::unique_ptr<EchoFlight> flight =
      settings.makeFlight ? settings.makeFlight(why) : MakeEchoFlight(why);
  if (!flight) {
    for (PathTrace& trace : traces) {
      trace.ended = true;
      trace.failure = why;
    }
    return traces;
  }
  TraceSchedule schedule(nodes, settings.times);
  const uint64_t limitMs =
      settings.times.limitMs != 0 ? settings.times.limitMs : TraceLimitMs(nodes.size());
  const Clock::time_point start = Clock::now();
  const auto elapsedMs = [start] {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
  };
  std::map<uint64_t, TraceProbe> flying;
  uint64_t nextTag = 0;
  std::vector<Text> refusals(nodes.size());
  bool closing = false;
  for (;;) {
    uint64_t now = elapsedMs();
    closing = closing || ProgramClosing();
    bool sentAny = false;
    if (!closing) {
      const size_t granted = TakeEchoSlots(kMaxEchoesInFlight);
      size_t used = 0;
      for (const TraceProbe& probe : schedule.Due(now, granted)) {
        uint32_t error = 0;
        if (flight->Send(nextTag, nodes[probe.node], probe.ttl, probe.waitMs, kEchoDataSize,
                         error)) {
          flying[nextTag++] = probe;
          ++used;
          sentAny = true;
        } else {
          schedule.NotSent(probe, now);
          refusals[probe.node] = Refusal(error);
        }
      }
      ReturnEchoSlots(granted - used);
    }
    const uint64_t next = closing ? TraceSchedule::kNever : schedule.NextMs(now);
    if (flying.empty() && next == TraceSchedule::kNever) break;
    // Every echo ends within its wait; should the system never end one, the flight keeps it.
    if (now > limitMs + 2 * uint64_t{settings.times.echoWaitMs}) break;
    const uint64_t waitMs = next == TraceSchedule::kNever ? kLookEveryMs
                            : next > now                  ? std::min(next - now, kLookEveryMs)
                            : sentAny                     ? 0
                                                          : 5;
    for (const EchoOutcome& outcome : flight->Collect(static_cast<uint32_t>(waitMs))) {
      const auto found = flying.find(outcome.tag);
      if (found == flying.end()) continue;
      const TraceProbe probe = found->second;
      flying.erase(found);
      ReturnEchoSlots(1);
      TraceEcho echo;
      echo.ttl = probe.ttl;
      switch (outcome.kind) {
        case EchoOutcome::Kind::kAnswered:
          echo.answer = AnswerOf(outcome.result.status);
          echo.from = outcome.result.replyAddress;
          echo.roundTripMs = outcome.result.roundTripTime;
          schedule.Answered(probe, echo);
          break;
        case EchoOutcome::Kind::kTimedOut:
          schedule.Answered(probe, echo);
          break;
        case EchoOutcome::Kind::kFailed:
          schedule.NotSent(probe, elapsedMs());
          refusals[probe.node] = Refusal(outcome.error);
          break;
      }
    }
  }
  traces = SummarisePaths(nodes, schedule.echoes());
  for (size_t i = 0; i < traces.size(); ++i) {
    // Nothing went out to this node: the trace could not run, which says nothing of the path.
    if (schedule.echoes()[i].empty() && !refusals[i].empty()) traces[i].failure = refusals[i];
  }
  return traces;
}
