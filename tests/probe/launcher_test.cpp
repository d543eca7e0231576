#include "probe/launcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

#include "tests/probe/survey_transcript.h"

namespace {

using namespace std::chrono_literals;

// Round-trip times by address; addresses not listed never answer.
ProbeSettings FakeNetwork(std::map<Text, uint32_t> roundTrips) {
  auto table = std::make_shared<const std::map<Text, uint32_t>>(std::move(roundTrips));
  ProbeSettings settings;
  settings.durationMs = 20;
  settings.echoTimeoutMs = 5;
  settings.batchWaitMs = 3000;
  settings.makeEcho = [table] {
    return [table](EchoResult& result, const Text& target, uint32_t) {
      std::this_thread::sleep_for(1ms);
      const auto found = table->find(target);
      if (found == table->end()) return false;
      result.roundTripTime = found->second;
      return true;
    };
  };
  return settings;
}

TextList WithoutBlankLines(const TextList& lines) {
  TextList kept;
  for (const Text& line : lines) {
    if (!line.empty()) kept.push_back(line);
  }
  return kept;
}

TEST(LauncherTest, IsOneObjectForTheProcess) { EXPECT_EQ(&GetLauncher(), &GetLauncher()); }

TEST(LauncherTest, RegistrationReplacesTheKindsListButNeverWithAnEmptyOne) {
  Launcher launcher;
  EXPECT_FALSE(launcher.AddNodeList({}, Rtpp));
  EXPECT_TRUE(launcher.nodeLists.empty());
  EXPECT_TRUE(launcher.AddNodeList({L"127.0.0.1:1", L"127.0.0.2:1"}, Rtpp));
  EXPECT_TRUE(launcher.AddNodeList({L"127.0.0.3:5060"}, Sip));
  EXPECT_FALSE(launcher.AddNodeList({}, Rtpp));
  EXPECT_EQ(launcher.nodeLists[Rtpp], (TextList{L"127.0.0.1:1", L"127.0.0.2:1"}));
  EXPECT_TRUE(launcher.AddNodeList({L"127.0.0.4:1"}, Rtpp));
  EXPECT_EQ(launcher.nodeLists[Rtpp], TextList{L"127.0.0.4:1"});
  EXPECT_EQ(launcher.nodeLists[Sip], TextList{L"127.0.0.3:5060"});
}

TEST(LauncherTest, SurveyListsByKindThenRegistrationAndReportsEveryNode) {
  SurveyTranscript transcript;
  Launcher launcher;
  launcher.probeSettings =
      FakeNetwork({{L"127.0.0.1", 12}, {L"127.0.0.5", 3}, {L"127.0.0.6", 3}, {L"127.0.0.9", 7}});
  launcher.AddNodeList({L"http://127.0.0.9:5060/"}, Sip);
  launcher.AddNodeList({L"127.0.0.1:8887", L"http://127.0.0.2/kelo_http/"}, Http);
  launcher.AddNodeList({L"127.0.0.5:10000", L"127.0.0.6:10000"}, Rtpp);

  ASSERT_TRUE(launcher.SurveyNodes());
  const TextList expected = {
      L"",
      L"Http 测试节点：127.0.0.1:8887，IP：127.0.0.1",
      L"Http 测试节点：http://127.0.0.2/kelo_http/，IP：127.0.0.2",
      L"Rtpp 测试节点：127.0.0.5:10000，IP：127.0.0.5",
      L"Rtpp 测试节点：127.0.0.6:10000，IP：127.0.0.6",
      L"Sip 测试节点：http://127.0.0.9:5060/，IP：127.0.0.9",
      L"",
      L"Successed ---> 测试服务器节点延时 Ping",
      L"Server type:Http, URL:127.0.0.1, Delay:12, Lost:0",
      L"Server type:Http, URL:127.0.0.2, Delay:1, Lost:100",
      L"Server type:Rtpp, URL:127.0.0.5, Delay:3, Lost:0",
      L"Server type:Rtpp, URL:127.0.0.6, Delay:3, Lost:0",
      L"Server type:Sip, URL:127.0.0.9, Delay:7, Lost:0",
      L"",
  };
  EXPECT_EQ(transcript.ListLines(), expected);
  EXPECT_EQ(transcript.LogMessages(), WithoutBlankLines(expected)) << "blank lines: list only";

  // Equal delays: the one registered first.
  EXPECT_EQ(launcher.bestNodes, (std::map<int32_t, Text>{{Http, L"127.0.0.1:8887"},
                                                         {Rtpp, L"127.0.0.5:10000"},
                                                         {Sip, L"http://127.0.0.9:5060/"}}));
  ASSERT_EQ(launcher.results.size(), 5u);
  EXPECT_EQ(launcher.results[1].url, L"http://127.0.0.2/kelo_http/");

  std::vector<NodeResult> rtpp(1);
  ASSERT_TRUE(launcher.GetRtppResults(rtpp));
  ASSERT_EQ(rtpp.size(), 2u);
  EXPECT_EQ(rtpp[0].address, L"127.0.0.5");
  EXPECT_EQ(rtpp[1].address, L"127.0.0.6");
}

TEST(LauncherTest, FastestReachableNodeOfEachKindWinsComparedUnsigned) {
  SurveyTranscript transcript;
  Launcher launcher;
  // A round trip past 2^31 ms reads as a negative delay, yet is the slowest.
  launcher.probeSettings = FakeNetwork(
      {{L"127.0.0.1", 0xF0000000u}, {L"127.0.0.2", 40}, {L"127.0.0.3", 9}, {L"127.0.0.5", 2}});
  launcher.AddNodeList({L"127.0.0.1:1", L"127.0.0.2:1", L"127.0.0.3:1", L"127.0.0.4:1"}, Rtpp);
  launcher.AddNodeList({L"127.0.0.5:1"}, Http);
  ASSERT_TRUE(launcher.SurveyNodes());
  EXPECT_EQ(launcher.bestNodes[Rtpp], L"127.0.0.3:1");
  EXPECT_EQ(launcher.bestNodes[Http], L"127.0.0.5:1");
}

TEST(LauncherTest, KindWithoutReachableNodeKeepsItsEarlierBestNode) {
  SurveyTranscript transcript;
  Launcher launcher;
  launcher.probeSettings = FakeNetwork({{L"127.0.0.1", 5}, {L"127.0.0.3", 6}});
  launcher.AddNodeList({L"127.0.0.1:1"}, Rtpp);
  launcher.AddNodeList({L"127.0.0.3:1"}, Sip);
  ASSERT_TRUE(launcher.SurveyNodes());
  launcher.AddNodeList({L"127.0.0.2:1"}, Rtpp);  // silent
  ASSERT_TRUE(launcher.SurveyNodes());
  EXPECT_EQ(launcher.bestNodes[Rtpp], L"127.0.0.1:1");
  EXPECT_EQ(launcher.bestNodes[Sip], L"127.0.0.3:1");
  ASSERT_EQ(launcher.results.size(), 2u);
  EXPECT_EQ(launcher.results[0].url, L"127.0.0.2:1") << "results are this survey's";
  EXPECT_EQ(launcher.results[0].lost, 100);
}

TEST(LauncherTest, FailedSurveyKeepsResultsAndBestNodes) {
  Launcher launcher;
  launcher.probeSettings = FakeNetwork({{L"127.0.0.1", 5}});
  std::vector<NodeResult> rtpp(1);
  EXPECT_FALSE(launcher.GetRtppResults(rtpp)) << "before any successful survey";
  EXPECT_EQ(rtpp.size(), 1u);

  {
    SurveyTranscript first;
    launcher.AddNodeList({L"127.0.0.1:1"}, Http);
    ASSERT_TRUE(launcher.SurveyNodes());
    EXPECT_TRUE(launcher.GetRtppResults(rtpp));
    EXPECT_TRUE(rtpp.empty()) << "no Rtpp node in that survey";
  }

  SurveyTranscript transcript;
  TextList many;
  for (int i = 1; i <= 65; ++i) many.push_back(L"127.0.1." + ToText(i) + L":1");
  launcher.AddNodeList(many, Rtpp);
  EXPECT_FALSE(launcher.SurveyNodes());
  ASSERT_EQ(launcher.results.size(), 1u);
  EXPECT_EQ(launcher.results[0].url, L"127.0.0.1:1");
  EXPECT_EQ(launcher.bestNodes, (std::map<int32_t, Text>{{Http, L"127.0.0.1:1"}}));

  const TextList lines = transcript.ListLines();
  ASSERT_EQ(lines.size(), 1u + 66u + 1u + 1u);
  EXPECT_EQ(lines[0], L"");
  EXPECT_EQ(lines[1], L"Http 测试节点：127.0.0.1:1，IP：127.0.0.1");
  EXPECT_EQ(lines[66], L"Rtpp 测试节点：127.0.1.65:1，IP：127.0.1.65");
  EXPECT_EQ(lines[67], L"");
  EXPECT_EQ(lines[68], L"Failed ---> 测试服务器节点延时 Ping");
  const TextList log = transcript.LogMessages();
  ASSERT_EQ(log.size(), 67u);
  EXPECT_EQ(log.back(), L"Failed ---> 测试服务器节点延时 Ping");
}

TEST(LauncherTest, SurveyWithNothingRegisteredFails) {
  SurveyTranscript transcript;
  Launcher launcher;
  EXPECT_FALSE(launcher.SurveyNodes());
  EXPECT_EQ(transcript.ListLines(), (TextList{L"", L"", L"Failed ---> 测试服务器节点延时 Ping"}));
  EXPECT_EQ(transcript.LogMessages(), TextList{L"Failed ---> 测试服务器节点延时 Ping"});
}

TEST(LauncherTest, RepeatedUrlIsSurveyedEachTimeAndPercentSignsStayAsTheyAre) {
  SurveyTranscript transcript;
  Launcher launcher;
  launcher.probeSettings = FakeNetwork({{L"127.0.0.7", 5}});
  launcher.AddNodeList({L"http://127.0.0.7/%s%d%%/", L"http://127.0.0.7/%s%d%%/"}, Rtpp);
  launcher.AddNodeList({L"http://127.0.0.7/%s%d%%/"}, Sip);
  ASSERT_TRUE(launcher.SurveyNodes());
  EXPECT_EQ(launcher.results.size(), 3u);
  const TextList log = transcript.LogMessages();
  ASSERT_EQ(log.size(), 7u);
  EXPECT_EQ(log[0], L"Rtpp 测试节点：http://127.0.0.7/%s%d%%/，IP：127.0.0.7");
  EXPECT_EQ(log[2], L"Sip 测试节点：http://127.0.0.7/%s%d%%/，IP：127.0.0.7");
  EXPECT_EQ(log[6], L"Server type:Sip, URL:127.0.0.7, Delay:5, Lost:0");
}

}  // namespace

TEST(LauncherTest, CallSampleSettingOnlyShortensIt) {
  const std::pair<Text, uint32_t> table[] = {{L"500", 500},   {L"100", 100},   {L"6000", 6000},
                                             {L"99", 6000},   {L"6001", 6000}, {L"", 6000},
                                             {L"5 ms", 6000}, {L"-500", 6000}, {L"99999", 6000}};
  for (const auto& [setting, ms] : table) EXPECT_EQ(CallDurationFrom(setting), ms) << setting;
}
