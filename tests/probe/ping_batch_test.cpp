#include "probe/ping_batch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "support/worker_thread.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::vector<NodeResult> Nodes(size_t count) {
  std::vector<NodeResult> nodes;
  for (size_t i = 0; i < count; ++i) {
    NodeResult record;
    record.type = 2;
    record.address = L"127.0.0." + ToText(static_cast<int32_t>(i + 1));
    record.url = record.address + L":10000";
    nodes.push_back(record);
  }
  return nodes;
}

bool Same(const std::vector<NodeResult>& a, const std::vector<NodeResult>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].type != b[i].type || a[i].address != b[i].address || a[i].url != b[i].url ||
        a[i].delay != b[i].delay || a[i].lost != b[i].lost) {
      return false;
    }
  }
  return true;
}

// Echoes answered at once with a fixed round-trip time per address; addresses not listed stay
// silent. Counts how many probe threads made an echo.
struct FakeNetwork {
  std::map<Text, uint32_t> roundTrips;
  std::atomic<int> echoesMade{0};

  EchoFactory Factory() {
    return [this] {
      ++echoesMade;
      return [this](EchoResult& result, const Text& target, uint32_t) {
        std::this_thread::sleep_for(1ms);
        const auto found = roundTrips.find(target);
        if (found == roundTrips.end()) return false;
        result.roundTripTime = found->second;
        return true;
      };
    };
  }
};

ProbeSettings Short(EchoFactory factory, uint32_t waitMs = 3000) {
  ProbeSettings settings;
  settings.durationMs = 20;
  settings.echoTimeoutMs = 5;
  settings.batchWaitMs = waitMs;
  settings.makeEcho = std::move(factory);
  return settings;
}

TEST(PingBatchTest, FillsEveryRecordInOrder) {
  FakeNetwork network;
  network.roundTrips = {{L"127.0.0.1", 4}, {L"127.0.0.3", 9}};
  PingBatch batch(Short(network.Factory()));
  batch.socketsReady = true;
  auto nodes = Nodes(3);
  ASSERT_TRUE(batch.Run(nodes));
  EXPECT_EQ(batch.durationMs, 20);
  EXPECT_EQ(batch.echoTimeoutMs, 5);
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[0].delay, 4);
  EXPECT_EQ(nodes[0].lost, 0);
  EXPECT_EQ(nodes[1].delay, 1);
  EXPECT_EQ(nodes[1].lost, 100);
  EXPECT_EQ(nodes[2].delay, 9);
  EXPECT_EQ(nodes[2].url, L"127.0.0.3:10000");
  EXPECT_EQ(nodes[2].type, 2);
  EXPECT_TRUE(Same(batch.records, nodes));
}

TEST(PingBatchTest, ProgramDefaultsAreTheFixedTimes) {
  const ProbeSettings settings;
  EXPECT_EQ(settings.durationMs, 2000u);
  EXPECT_EQ(settings.echoTimeoutMs, 500u);
  EXPECT_EQ(settings.batchWaitMs, 4000u);
}

TEST(PingBatchTest, StartsEveryThreadBeforeWaiting) {
  // Each probe waits until all 64 have begun: a batch that waited for some before starting the
  // rest would run into its limit.
  std::mutex lock;
  std::condition_variable changed;
  int begun = 0;
  std::atomic<bool> allMet{true};
  ProbeSettings settings = Short(
      [&] {
        std::unique_lock<std::mutex> hold(lock);
        ++begun;
        changed.notify_all();
        if (!changed.wait_for(hold, 3s, [&] { return begun == 64; })) allMet = false;
        return EchoFunction([](EchoResult&, const Text&, uint32_t) { return false; });
      },
      5000);
  PingBatch batch(settings);
  batch.socketsReady = true;
  auto nodes = Nodes(64);
  EXPECT_TRUE(batch.Run(nodes));
  EXPECT_TRUE(allMet);
}

TEST(PingBatchTest, RefusesWithoutSocketsOrWithTooFewOrTooManyNodes) {
  FakeNetwork network;
  network.roundTrips = {{L"127.0.0.1", 4}};
  for (size_t count : {size_t{0}, size_t{65}, size_t{100}}) {
    PingBatch batch(Short(network.Factory()));
    batch.socketsReady = true;
    auto nodes = Nodes(count);
    const auto before = nodes;
    EXPECT_FALSE(batch.Run(nodes)) << count << " nodes";
    EXPECT_TRUE(Same(nodes, before));
  }
  PingBatch notReady(Short(network.Factory()));
  auto nodes = Nodes(2);
  const auto before = nodes;
  EXPECT_FALSE(notReady.Run(nodes));
  EXPECT_TRUE(Same(nodes, before));
  EXPECT_EQ(network.echoesMade, 0) << "no thread may start";
}

TEST(PingBatchTest, ThreadThatCannotStartFailsTheBatch) {
  FakeNetwork network;
  PingBatch batch(Short(network.Factory()));
  batch.socketsReady = true;
  auto nodes = Nodes(3);
  const auto before = nodes;
  FailNextThreadStartsForTest(1);
  EXPECT_FALSE(batch.Run(nodes));
  FailNextThreadStartsForTest(0);
  EXPECT_TRUE(Same(nodes, before));
}

// One node's echo hangs until the test lets it go, as an echo stuck in a slow name lookup would.
struct Gate {
  std::mutex lock;
  std::condition_variable changed;
  bool open = false;
  void Wait() {
    std::unique_lock<std::mutex> hold(lock);
    changed.wait(hold, [&] { return open; });
  }
  void Open() {
    std::lock_guard<std::mutex> hold(lock);
    open = true;
    changed.notify_all();
  }
};

TEST(PingBatchTest, StuckNodeFailsTheBatchAtItsLimitAndNothingReachesTheCaller) {
  auto gate = std::make_shared<Gate>();
  FakeNetwork network;
  network.roundTrips = {{L"127.0.0.1", 4}, {L"127.0.0.2", 6}, {L"127.0.0.3", 8}};
  const EchoFactory normal = network.Factory();
  std::weak_ptr<Gate> watch = gate;
  ProbeSettings settings = Short(
      [gate, normal]() -> EchoFunction {
        EchoFunction echo = normal();
        return [gate, echo](EchoResult& result, const Text& target, uint32_t timeoutMs) {
          if (target == L"127.0.0.2") gate->Wait();
          return echo(result, target, timeoutMs);
        };
      },
      300);
  auto nodes = Nodes(3);
  const auto before = nodes;
  Clock::duration took{};
  {
    PingBatch batch(std::move(settings));
    batch.socketsReady = true;
    const auto start = Clock::now();
    EXPECT_FALSE(batch.Run(nodes));
    took = Clock::now() - start;
    EXPECT_TRUE(batch.records.empty());
  }  // the batch is gone before the stuck thread moves again
  EXPECT_GE(took, 300ms);
  EXPECT_LT(took, 800ms);
  EXPECT_TRUE(Same(nodes, before)) << "not even the nodes that finished";

  gate->Open();
  gate.reset();
  // The abandoned thread lets go of its echo when it ends.
  const auto deadline = Clock::now() + 5s;
  while (!watch.expired() && Clock::now() < deadline) std::this_thread::sleep_for(5ms);
  EXPECT_TRUE(watch.expired());
  std::this_thread::sleep_for(20ms);
}

}  // namespace
