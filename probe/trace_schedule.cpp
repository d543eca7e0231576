#include "probe/trace_schedule.h"

#include <algorithm>
#include <tuple>

namespace {

// An address is a key of its own; the unknown hops at a time to live share the key `ttl`; the
// silent tail of a node's path, the key of that node.
uint64_t AddressKey(uint32_t address) { return uint64_t{1} << 32 | address; }
uint64_t TailKey(size_t node) { return uint64_t{2} << 32 | node; }

// A silent tail is tried again this often in all, then left silent.
constexpr uint32_t kTailRetries = 3;

}  // namespace

uint32_t TraceLimitMs(size_t nodes) {
  const uint64_t limit = kTraceLimitMs + uint64_t{1000} * (nodes > 1 ? nodes - 1 : 0);
  return static_cast<uint32_t>(std::min<uint64_t>(limit, kTraceLimitMaxMs));
}

struct TraceSchedule::Tally {
  std::map<uint32_t, uint32_t> counted;  // by the router that answered at this time to live
  std::vector<uint32_t> routers;         // every router seen answering at this time to live
};

TraceSchedule::TraceSchedule(std::vector<uint32_t> nodes, const TraceTimes& times)
    : times_(times), echoes_(nodes.size()) {
  if (times_.limitMs == 0) times_.limitMs = TraceLimitMs(nodes.size());
  for (uint32_t address : nodes) {
    Node node;
    node.address = address;
    node.hops.resize(kTraceMaxTtl);
    nodes_.push_back(node);
  }
  traced_ = std::move(nodes);
  std::sort(traced_.begin(), traced_.end());
}

std::vector<TraceSchedule::Tally> TraceSchedule::Count() const {
  std::vector<Tally> tally(kTraceMaxTtl);
  // A traced node answering for itself is a destination, not a router another path may pass.
  const auto traced = [this](uint32_t address) {
    return std::binary_search(traced_.begin(), traced_.end(), address);
  };
  for (const Node& node : nodes_) {
    for (uint32_t ttl = 1; ttl <= node.Last(); ++ttl) {
      const Hop& hop = node.hops[ttl - 1];
      if (ttl == node.hop) continue;
      Tally& here = tally[ttl - 1];
      if (hop.address != 0 && !traced(hop.address) &&
          std::find(here.routers.begin(), here.routers.end(), hop.address) == here.routers.end()) {
        here.routers.push_back(hop.address);
      }
      if (hop.address != 0 && !hop.unreachable) here.counted[hop.address] += hop.counted;
    }
  }
  return tally;
}

bool TraceSchedule::OwnHop(const Node& node, uint32_t ttl) const {
  return ttl == node.hop || node.hops[ttl - 1].unreachable;
}

uint32_t TraceSchedule::Samples(size_t node, uint32_t ttl, const std::vector<Tally>& tally) const {
  const Node& at = nodes_[node];
  const Hop& hop = at.hops[ttl - 1];
  // A hop not yet known is no one else's: its echoes are its own.
  if (OwnHop(at, ttl) || hop.address == 0) return hop.counted;
  const auto found = tally[ttl - 1].counted.find(hop.address);
  return found == tally[ttl - 1].counted.end() ? 0 : found->second;
}

bool TraceSchedule::Tail(const Node& node, uint32_t ttl) const {
  const Hop& hop = node.hops[ttl - 1];
  return ttl != node.hop && hop.address == 0 && hop.own > 0 && hop.ownAnswered == 0 &&
         ttl > node.reached;
}

std::vector<uint64_t> TraceSchedule::Keys(size_t node, uint32_t ttl,
                                          const std::vector<Tally>& tally) const {
  const Node& at = nodes_[node];
  if (ttl == at.hop) return {AddressKey(at.address)};
  const Hop& hop = at.hops[ttl - 1];
  if (hop.address != 0) return {AddressKey(hop.address)};
  std::vector<uint64_t> keys{ttl};
  for (uint32_t router : tally[ttl - 1].routers) keys.push_back(AddressKey(router));
  // A router that rejects what passes it answers "unreachable" at the next time to live and
  // "time exceeded", or nothing once limited, at its own: the hop before it may be that router.
  for (uint32_t above = ttl + 1; above <= at.Last() && above != at.hop; ++above) {
    const uint32_t address = at.hops[above - 1].address;
    if (address == 0) continue;
    if (unreachableKeys_.count(AddressKey(address)) != 0) keys.push_back(AddressKey(address));
    break;
  }
  if (Tail(at, ttl)) {
    // Past the last hop that answered, every time to live may reach the same router: the last
    // one that answered, or one that says "unreachable" whatever the time to live.
    keys.push_back(TailKey(node));
    for (uint32_t below = ttl - 1; below >= 1; --below) {
      if (at.hops[below - 1].address == 0) continue;
      keys.push_back(AddressKey(at.hops[below - 1].address));
      break;
    }
    keys.insert(keys.end(), unreachableKeys_.begin(), unreachableKeys_.end());
  }
  return keys;
}

uint64_t TraceSchedule::EarliestMs(size_t node, uint32_t ttl,
                                   const std::vector<Tally>& tally) const {
  const Node& at = nodes_[node];
  const Hop& hop = at.hops[ttl - 1];
  if (ttl > at.Last() || hop.inFlight || Samples(node, ttl, tally) >= times_.rounds) return kNever;
  // A silent tail is asked again only after a quiet of two intervals everywhere it may reach: an
  // unreachable route answers only then, and the survey may have spent its client's tokens.
  const bool tail = Tail(at, ttl);
  if (tail && at.tailRetries >= kTailRetries) return kNever;
  uint64_t earliest = hop.retryMs;
  if (!hop.started && ttl > 1) {
    const Hop& before = at.hops[ttl - 2];
    if (before.started) {
      earliest = std::max(earliest, before.firstSentMs + times_.sweepStepMs);
    } else if (Samples(node, ttl - 1, tally) < times_.rounds) {
      return kNever;  // until the time to live below has had its first echo
    }
  }
  for (uint64_t key : Keys(node, ttl, tally)) {
    const auto asked = lastAsked_.find(key);
    if (asked == lastAsked_.end()) continue;
    // A Linux router's unreachable route spends two of the client's tokens on every answer.
    const bool twice = tail || unreachableKeys_.count(key) != 0;
    const uint64_t interval = times_.answerIntervalMs * (twice ? 2 : 1);
    earliest = std::max(earliest, asked->second + interval);
  }
  return earliest + times_.echoWaitMs <= times_.limitMs ? earliest : kNever;
}

std::vector<TraceProbe> TraceSchedule::Due(uint64_t nowMs, size_t room) {
  std::vector<TraceProbe> due;
  if (room == 0) return due;
  std::vector<Tally> tally = Count();
  // Fewest echoes first; in a shared hop the node that sent the fewest there; then the lower time
  // to live and the node first in the list.
  std::vector<std::tuple<uint32_t, uint32_t, uint32_t, size_t>> candidates;
  for (size_t node = 0; node < nodes_.size(); ++node) {
    for (uint32_t ttl = 1; ttl <= nodes_[node].Last(); ++ttl) {
      if (EarliestMs(node, ttl, tally) == kNever) continue;
      candidates.emplace_back(Samples(node, ttl, tally), nodes_[node].hops[ttl - 1].own, ttl, node);
    }
  }
  std::sort(candidates.begin(), candidates.end());
  // An echo still waiting for its routers to be quiet keeps them from those behind it in line, so
  // that a quiet of two intervals can come about at all.
  std::set<uint64_t> held;
  for (const auto& [samples, own, ttl, node] : candidates) {
    if (due.size() == room) break;
    const std::vector<uint64_t> keys = Keys(node, ttl, tally);
    if (std::any_of(keys.begin(), keys.end(), [&](uint64_t key) { return held.count(key); })) {
      continue;
    }
    // An echo chosen before may have taken this one's router or filled its hop.
    if (EarliestMs(node, ttl, tally) > nowMs) {
      held.insert(keys.begin(), keys.end());
      continue;
    }
    Node& at = nodes_[node];
    Hop& hop = at.hops[ttl - 1];
    if (Tail(at, ttl)) ++at.tailRetries;
    for (uint64_t key : keys) lastAsked_[key] = nowMs;
    if (!OwnHop(at, ttl) && hop.address != 0) ++tally[ttl - 1].counted[hop.address];
    hop.inFlight = true;
    ++hop.counted;
    ++hop.own;
    if (!hop.started) {
      hop.started = true;
      hop.firstSentMs = nowMs;
    }
    ++inFlight_;
    due.push_back({node, ttl, times_.echoWaitMs, nowMs});
  }
  return due;
}

uint64_t TraceSchedule::NextMs(uint64_t nowMs) const {
  const std::vector<Tally> tally = Count();
  uint64_t next = kNever;
  for (size_t node = 0; node < nodes_.size(); ++node) {
    for (uint32_t ttl = 1; ttl <= nodes_[node].Last(); ++ttl) {
      next = std::min(next, EarliestMs(node, ttl, tally));
    }
  }
  return next == kNever ? kNever : std::max(next, nowMs);
}

void TraceSchedule::Answered(const TraceProbe& probe, const TraceEcho& echo) {
  Node& node = nodes_[probe.node];
  Hop& hop = node.hops[probe.ttl - 1];
  hop.inFlight = false;
  --inFlight_;
  // An answer that names nobody tells nothing of any hop.
  if (echo.answer != EchoAnswer::kOther && echo.from == 0) {
    --hop.counted;
    hop.retryMs = probe.sentMs + times_.answerIntervalMs;
    return;
  }
  echoes_[probe.node].push_back(echo);
  if (echo.answer == EchoAnswer::kOther) return;
  ++hop.ownAnswered;
  node.reached = std::max(node.reached, probe.ttl);
  // Whoever answered was asked then, whatever key the echo went out under.
  uint64_t& asked = lastAsked_[AddressKey(echo.from)];
  asked = std::max(asked, probe.sentMs);
  if (echo.answer == EchoAnswer::kReply && echo.from == node.address) {
    if (node.hop == 0 || probe.ttl < node.hop) node.hop = probe.ttl;
    return;
  }
  const bool unreachable = echo.answer == EchoAnswer::kUnreachable;
  if (unreachable) unreachableKeys_.insert(AddressKey(echo.from));
  if (hop.address == 0) {
    hop.address = echo.from;
    hop.unreachable = unreachable;
  }
  if (unreachable && (node.unreachable == 0 || probe.ttl < node.unreachable)) {
    node.unreachable = probe.ttl;
  }
}

void TraceSchedule::NotSent(const TraceProbe& probe, uint64_t nowMs) {
  Hop& hop = nodes_[probe.node].hops[probe.ttl - 1];
  hop.inFlight = false;
  --inFlight_;
  --hop.counted;  // its turn is spent all the same
  hop.retryMs = nowMs + times_.answerIntervalMs;
}
