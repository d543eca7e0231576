#include "probe/call_sample.h"

#include <algorithm>
#include <chrono>
#include <map>

#include "probe/probe_threads.h"
#include "probe/trace_echo.h"
#include "support/program_closing.h"

namespace {

using Clock = std::chrono::steady_clock;

// No two echoes to one node closer than this, should the loop wake late and catch up.
constexpr uint64_t kNearestMs = 15;
// Echoes that fell a little behind still go out this long after the sample's time; only a
// stretch beyond, from more nodes than the echoes in flight allow, leaves some unsent.
constexpr uint64_t kLateMs = 500;
constexpr uint64_t kLookEveryMs = 20;

enum class Fate : uint8_t { kFlying, kAnswered, kLost, kNotSent };

struct Sampled {
  std::vector<Fate> fates;           // by echo, in the order sent
  std::vector<uint32_t> roundTrips;  // by echo, ms, where answered
  uint64_t nextMs = 0;
  uint64_t lastSentMs = 0;
  uint32_t ended = 0;        // echoes answered or lost
  uint32_t replies = 0;      // the node's own answers
  uint32_t unreachable = 0;  // answers "destination unreachable"
};

// A node whose first echoes brought "unreachable" and no reply is sampled no further: a router
// answers for it, as often as its rate limit lets it, and the path trace after needs those
// answers.
constexpr uint32_t kEnoughToGiveUp = 5;

bool Done(const Sampled& node, size_t echoes) {
  return node.fates.size() >= echoes ||
         (node.ended >= kEnoughToGiveUp && node.replies == 0 && node.unreachable > 0);
}

}  // namespace

uint32_t CallDurationFrom(const Text& setting) {
  if (setting.empty() || setting.size() > 5 ||
      setting.find_first_not_of(L"0123456789") != Text::npos) {
    return kCallDurationMs;
  }
  const auto ms = static_cast<uint32_t>(std::stoul(setting));
  return ms >= 5 * kCallIntervalMs && ms <= kCallDurationMs ? ms : kCallDurationMs;
}

namespace {

// A router that answers a node's echoes with errors, "unreachable" or none once its rate limit is
// spent, has nothing left for the path trace that follows. Before it, such nodes' routers get the
// time to answer twice again; a Linux router's unreachable route spends two answers on each.
uint64_t QuietUntilMs(const std::vector<Sampled>& sampled) {
  uint64_t until = 0;
  for (const Sampled& node : sampled) {
    if (node.ended > 0 && node.replies == 0) {
      until = std::max(until, node.lastSentMs + 2 * uint64_t{kTraceAnswerIntervalMs});
    }
  }
  return until;
}

NodeResult Figures(const Sampled& sampled) {
  NodeResult record;
  int32_t run = 0;
  for (size_t i = 0; i < sampled.fates.size(); ++i) {
    const Fate fate = sampled.fates[i];
    if (fate == Fate::kNotSent) continue;
    ++record.echoes;
    if (fate == Fate::kAnswered) {
      record.AddRoundTrip(sampled.roundTrips[i]);
      run = 0;
    } else {
      record.longestLossRun = std::max(record.longestLossRun, ++run);
    }
  }
  if (record.answered > 0) {
    const auto mean = static_cast<int32_t>(record.roundTripSum / record.answered);
    record.delay = std::max(mean, 1);
  }
  record.lost = record.echoes == 0 ? 100 : (record.echoes - record.answered) * 100 / record.echoes;
  return record;
}

}  // namespace

std::vector<NodeResult> SampleCalls(const std::vector<uint32_t>& addresses,
                                    const CallSettings& settings) {
  std::vector<Sampled> sampled(addresses.size());
  Text why;
  std::unique_ptr<EchoFlight> flight =
      settings.makeFlight ? settings.makeFlight(why) : MakeEchoFlight(why);
  const Clock::time_point start = Clock::now();
  const auto elapsedMs = [start] {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
  };
  std::map<uint64_t, std::pair<size_t, size_t>> flying;  // tag -> node, echo
  uint64_t nextTag = 0;
  size_t first = 0;  // which node goes first this turn, so that a stretch falls on all alike
  const size_t echoes = settings.durationMs / kCallIntervalMs;
  while (flight) {
    const uint64_t now = elapsedMs();
    const bool sending = now < settings.durationMs + kLateMs && !ProgramClosing() &&
                         std::any_of(sampled.begin(), sampled.end(),
                                     [&](const Sampled& node) { return !Done(node, echoes); });
    if (sending) {
      for (size_t turn = 0; turn < addresses.size(); ++turn) {
        Sampled& node = sampled[(first + turn) % addresses.size()];
        if (node.nextMs > now || Done(node, echoes)) continue;
        if (TakeEchoSlots(1) == 0) break;
        uint32_t error = 0;
        const size_t index = (first + turn) % addresses.size();
        const size_t echo = node.fates.size();
        node.fates.push_back(Fate::kFlying);
        node.roundTrips.push_back(0);
        if (flight->Send(nextTag, addresses[index], kEchoTimeToLive, kCallEchoWaitMs, kCallDataSize,
                         error)) {
          flying[nextTag++] = {index, echo};
          node.lastSentMs = now;
        } else {
          node.fates.back() = Fate::kNotSent;
          ReturnEchoSlots(1);
        }
        node.nextMs = std::max<uint64_t>(node.fates.size() * kCallIntervalMs, now + kNearestMs);
      }
      first = (first + 1) % std::max<size_t>(addresses.size(), 1);
    }
    if (!sending && flying.empty() && (now >= QuietUntilMs(sampled) || ProgramClosing())) break;
    // Every echo ends within its wait; should the system never end one, the flight keeps it.
    if (!flying.empty() && now > settings.durationMs + kLateMs + 2 * uint64_t{kCallEchoWaitMs}) {
      break;
    }
    uint64_t next = now + kLookEveryMs;
    for (const Sampled& node : sampled) {
      if (!Done(node, echoes)) next = std::min(next, std::max(node.nextMs, now));
    }
    for (const EchoOutcome& outcome :
         flight->Collect(static_cast<uint32_t>(sending ? next - now : kLookEveryMs))) {
      const auto found = flying.find(outcome.tag);
      if (found == flying.end()) continue;
      const auto [index, echo] = found->second;
      flying.erase(found);
      ReturnEchoSlots(1);
      Sampled& node = sampled[index];
      // The node's own answer counts; a router's error, or none in the whole wait, is a loss;
      // what the system gave up on early says nothing of the network.
      const bool answered = outcome.kind == EchoOutcome::Kind::kAnswered &&
                            AnswerOf(outcome.result.status) == EchoAnswer::kReply;
      node.fates[echo] = answered                                     ? Fate::kAnswered
                         : outcome.kind == EchoOutcome::Kind::kFailed ? Fate::kNotSent
                                                                      : Fate::kLost;
      node.roundTrips[echo] = outcome.result.roundTripTime;
      if (node.fates[echo] != Fate::kNotSent) ++node.ended;
      if (answered) ++node.replies;
      if (outcome.kind == EchoOutcome::Kind::kAnswered &&
          AnswerOf(outcome.result.status) == EchoAnswer::kUnreachable) {
        ++node.unreachable;
      }
    }
  }
  std::vector<NodeResult> records;
  for (const Sampled& node : sampled) records.push_back(Figures(node));
  return records;
}
