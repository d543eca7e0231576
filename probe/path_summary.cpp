#include "probe/path_summary.h"

#include <algorithm>
#include <utility>

namespace {

bool FromNode(const TraceEcho& echo, uint32_t node) {
  return echo.answer == EchoAnswer::kReply && echo.from == node;
}

// The node's hop (0: it never answered) and the last hop of its path.
std::pair<uint32_t, uint32_t> Ends(uint32_t node, const std::vector<TraceEcho>& echoes) {
  uint32_t nodeHop = 0;
  uint32_t unreachable = 0;
  uint32_t highest = 0;
  for (const TraceEcho& echo : echoes) {
    highest = std::max(highest, echo.ttl);
    if (FromNode(echo, node) && (nodeHop == 0 || echo.ttl < nodeHop)) nodeHop = echo.ttl;
    if (echo.answer == EchoAnswer::kUnreachable && (unreachable == 0 || echo.ttl < unreachable)) {
      unreachable = echo.ttl;
    }
  }
  if (nodeHop != 0) return {nodeHop, nodeHop};
  return {0, unreachable != 0 ? unreachable : std::min(highest, kTraceMaxTtl)};
}

// The address that answered most often at `ttl`, a tie to the first seen; 0 when none did.
uint32_t MostOften(const std::vector<TraceEcho>& echoes, uint32_t ttl) {
  std::vector<std::pair<uint32_t, uint32_t>> seen;  // address, count
  for (const TraceEcho& echo : echoes) {
    if (echo.ttl != ttl || echo.answer == EchoAnswer::kOther) continue;
    auto found = std::find_if(seen.begin(), seen.end(),
                              [&](const auto& entry) { return entry.first == echo.from; });
    if (found == seen.end()) {
      seen.emplace_back(echo.from, 1);
    } else {
      ++found->second;
    }
  }
  uint32_t address = 0;
  uint32_t most = 0;
  for (const auto& [candidate, count] : seen) {
    if (count > most) {
      most = count;
      address = candidate;
    }
  }
  return address;
}

// Whether a node's hop at `ttl` is a router answering "time exceeded" from `router`.
bool RouterHop(uint32_t node, const std::vector<TraceEcho>& echoes, uint32_t ttl, uint32_t router) {
  if (router == 0 || router == node || MostOften(echoes, ttl) != router) return false;
  return std::any_of(echoes.begin(), echoes.end(), [&](const TraceEcho& echo) {
    return echo.ttl == ttl && echo.from == router && echo.answer == EchoAnswer::kTimeExceeded;
  });
}

void Count(PathHop& hop, const TraceEcho& echo) {
  ++hop.sent;
  if (echo.answer == EchoAnswer::kOther) return;
  if (hop.answered == 0 || echo.roundTripMs < hop.fastest) hop.fastest = echo.roundTripMs;
  ++hop.answered;
  hop.roundTripSum += echo.roundTripMs;
}

}  // namespace

std::vector<PathTrace> SummarisePaths(const std::vector<uint32_t>& nodes,
                                      const std::vector<std::vector<TraceEcho>>& echoes) {
  std::vector<std::pair<uint32_t, uint32_t>> ends;
  // Per node and time to live (from 1): the router whose "time exceeded" this hop is, else 0.
  std::vector<std::vector<uint32_t>> routers(nodes.size(), std::vector<uint32_t>(kTraceMaxTtl + 1));
  for (size_t i = 0; i < nodes.size(); ++i) {
    ends.push_back(Ends(nodes[i], echoes[i]));
    const auto [nodeHop, last] = ends[i];
    for (uint32_t ttl = 1; ttl <= last && ttl != nodeHop; ++ttl) {
      const uint32_t address = MostOften(echoes[i], ttl);
      if (RouterHop(nodes[i], echoes[i], ttl, address)) routers[i][ttl] = address;
    }
  }
  std::vector<PathTrace> traces(nodes.size());
  for (size_t i = 0; i < nodes.size(); ++i) {
    PathTrace& trace = traces[i];
    trace.node = nodes[i];
    trace.ended = true;
    const auto [nodeHop, last] = ends[i];
    for (uint32_t ttl = 1; ttl <= last; ++ttl) {
      PathHop hop;
      hop.ttl = ttl;
      hop.node = ttl == nodeHop;
      hop.address = MostOften(echoes[i], ttl);
      bool unreachable = false;
      for (const TraceEcho& echo : echoes[i]) {
        if (echo.ttl != ttl) continue;
        Count(hop, echo);
        unreachable = unreachable || echo.answer == EchoAnswer::kUnreachable;
      }
      hop.unreachable = nodeHop == 0 && ttl == last && unreachable;
      const uint32_t router = routers[i][ttl];
      for (size_t other = 0; other < nodes.size() && router != 0; ++other) {
        if (other == i || routers[other][ttl] != router) continue;
        for (const TraceEcho& echo : echoes[other]) {
          const bool same = echo.answer == EchoAnswer::kOther ||
                            (echo.answer == EchoAnswer::kTimeExceeded && echo.from == router);
          if (echo.ttl == ttl && same) Count(hop, echo);
        }
      }
      trace.hops.push_back(hop);
    }
  }
  return traces;
}
