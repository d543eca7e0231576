// The echo loop of one probe thread, on a clock that moves only with the echoes.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "probe/ping_batch.h"

namespace {

struct ScriptedNode {
  std::vector<std::optional<uint32_t>> outcomes;  // round-trip time, or no answer; repeats
  uint32_t stepUs = 250000;                       // what one echo costs on the clock
  uint32_t nowUs = 0;
  std::vector<Text> targets;
  std::vector<uint32_t> timeouts;
};

NodeResult Probe(const std::shared_ptr<ScriptedNode>& node, uint32_t durationMs,
                 NodeResult record = {}) {
  if (record.address.empty()) record.address = L"198.18.0.2";
  ProbeTask task;
  task.result = &record;
  task.durationMs = durationMs;
  task.echoTimeoutMs = 500;
  task.tickCount = [node] { return node->nowUs; };
  task.makeEcho = [node] {
    return [node](EchoResult& result, const Text& target, uint32_t timeoutMs) {
      const auto& outcome = node->outcomes[node->targets.size() % node->outcomes.size()];
      node->targets.push_back(target);
      node->timeouts.push_back(timeoutMs);
      node->nowUs += node->stepUs;
      if (!outcome) return false;
      result.roundTripTime = *outcome;
      return true;
    };
  };
  EXPECT_EQ(ProbeThread(task), 0u);
  return record;
}

std::shared_ptr<ScriptedNode> Node(std::vector<std::optional<uint32_t>> outcomes,
                                   uint32_t stepMs = 250, uint32_t startUs = 0) {
  auto node = std::make_shared<ScriptedNode>();
  node->outcomes = std::move(outcomes);
  node->stepUs = stepMs * 1000;
  node->nowUs = startUs;
  return node;
}

TEST(ProbeThreadTest, EchoesUntilTheDurationHasPassedTheLastStartingAtItsEnd) {
  auto node = Node({5});
  Probe(node, 1000);
  // Elapsed 250, 500, 750 and 1000 ms go round again; 1250 ends it.
  EXPECT_EQ(node->targets.size(), 5u);
  EXPECT_EQ(node->targets, std::vector<Text>(5, L"198.18.0.2"));
  EXPECT_EQ(node->timeouts, std::vector<uint32_t>(5, 500));

  auto wrapping = Node({5}, 250, 0xFFFFFFFFu - 600000);
  Probe(wrapping, 1000);
  EXPECT_EQ(wrapping->targets.size(), 5u) << "the tick counter's wrap changes nothing";

  // Four silent echoes of a little over 500 ms end a 2000 ms probing, however little over.
  auto silent = Node({std::nullopt});
  silent->stepUs = 500001;
  Probe(silent, 2000);
  EXPECT_EQ(silent->targets.size(), 4u);
}

TEST(ProbeThreadTest, DelayIsTheTruncatedMeanOfAnsweredEchoesAndAtLeastOne) {
  NodeResult record = Probe(Node({0}), 1000);
  EXPECT_EQ(record.delay, 1) << "a 0 ms mean";
  EXPECT_EQ(record.lost, 0);

  record = Probe(Node({1, 2}), 250);  // two echoes, 3 / 2
  EXPECT_EQ(record.delay, 1);

  record = Probe(Node({30, std::nullopt, 33, std::nullopt}), 750);  // four echoes
  EXPECT_EQ(record.delay, 31);
  EXPECT_EQ(record.lost, 50);
}

TEST(ProbeThreadTest, LossIsTruncatedAndNoAnswerKeepsTheDelay) {
  NodeResult record = Probe(Node({10, std::nullopt, std::nullopt}), 500);  // three echoes
  EXPECT_EQ(record.delay, 10);
  EXPECT_EQ(record.lost, 66);

  NodeResult silent;
  silent.delay = 1;
  silent.lost = 100;
  record = Probe(Node({std::nullopt}), 1000, silent);
  EXPECT_EQ(record.delay, 1);
  EXPECT_EQ(record.lost, 100);

  NodeResult earlier;
  earlier.delay = 17;
  record = Probe(Node({std::nullopt}), 1000, earlier);
  EXPECT_EQ(record.delay, 17) << "delay untouched without an answer";
}

TEST(ProbeThreadTest, ClockThatStandsStillDoesNotMakeItEchoForever) {
  NodeResult record;
  uint64_t echoes = 0;
  ProbeTask task;
  task.result = &record;
  task.durationMs = 1000;
  task.tickCount = [] { return 7u; };
  task.makeEcho = [&echoes] {
    return [&echoes](EchoResult&, const Text&, uint32_t) { return ++echoes % 2 == 0; };
  };
  ProbeThread(task);
  EXPECT_EQ(echoes, kMaxEchoesPerNode);
  EXPECT_EQ(record.lost, 50);
}

TEST(ProbeThreadTest, AbandonedThreadStopsAfterTheEchoUnderWay) {
  auto node = Node({5});
  NodeResult record;
  record.address = L"198.18.0.2";
  ProbeTask task;
  task.result = &record;
  task.durationMs = 100000;
  task.tickCount = [node] { return node->nowUs; };
  task.makeEcho = [node] {
    return [node](EchoResult&, const Text& target, uint32_t) {
      node->targets.push_back(target);
      return false;
    };
  };
  task.abandoned = std::make_shared<std::atomic<bool>>(true);
  ProbeThread(task);
  EXPECT_EQ(node->targets.size(), 1u);
}

}  // namespace
