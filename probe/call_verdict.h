// Will voice work over a media relay? The verdict on each Rtpp node from the delay, jitter, loss
// and longest outage its call sample showed, and the order in which the report names the nodes. The
// run uses it to choose which paths to trace; the report words it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "probe/node_result.h"

// Worst first; a name that did not resolve is named last, having sent nothing.
enum class Verdict { kSilent, kPoor, kTooFew, kFair, kGood, kUnresolved };

// Compares the exact figures with the limits, never the whole numbers shown: 1 lost of 60 is
// over 1 %, a jitter of 30.5 ms over 30.
Verdict VerdictOf(const NodeResult& node);

// The one-sided 95 % upper bound (Clopper–Pearson) on the loss that `lost` of `sent` lost show, in
// tenths of a percent rounded up.
uint32_t LossUpperBoundTenths(uint64_t sent, uint64_t lost);

// The mean change of the round trip from one answered echo to the next, in whole ms; none with
// fewer than two answered.
std::optional<uint32_t> Jitter(const NodeResult& node);

// Over a good call's limits, compared exactly; a path is read by the same ones.
bool LossOverGood(uint64_t sent, uint64_t answered);
bool DelayOverGood(const NodeResult& node);

struct RatedNode {
  const NodeResult* node;
  Verdict verdict;
};

// One entry per distinct address, by its worst survey, worst first (verdict, then loss, then
// delay); unresolved names last. Pointers into `rtpp`.
std::vector<RatedNode> RateNodes(const std::vector<NodeResult>& rtpp);
