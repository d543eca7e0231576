// The flows against a scripted service library and a launcher whose echo answers at once. The
// whole runs against the simulator are the cases in tests/cases; these check what a transcript
// does not show: call order, catalogue writes, the node lists and the subtle rules.
#include "testrun/login_flows.h"

#include <gtest/gtest.h>

#include <climits>

#include "probe/launcher.h"
#include "testrun/node_address.h"
#include "testrun/service_urls.h"
#include "tests/testrun/test_run_fixture.h"

namespace {

using LoginFlowTest = TestRunFixture;

TEST_F(LoginFlowTest, DirectFlowNamesTheServersTestsTheNodeThenSurveysAndReports) {
  LoginResult& result = GetGlobalDataCollection().lastLoginResult;
  result.tcpServer = L"127.0.0.6:5060";
  result.sipServer = L"127.0.0.2:5060";
  result.sipServers = {L"127.0.0.7:5060"};
  result.rtppServers = {L"127.0.0.8:10000"};
  library_->ScriptTcp(L"127.0.0.6", 5060, {});
  GetLauncher().AddNodeList({L"http://127.0.0.2:8887/"}, Http);

  EXPECT_TRUE(DirectLoginFlow());

  const GlobalDataCollection& catalogue = GetGlobalDataCollection();
  EXPECT_EQ(catalogue.contacterServerUrl, L"http://127.0.0.5:9090/");
  EXPECT_EQ(catalogue.tcpNodeAddress, L"127.0.0.6:5060");
  EXPECT_EQ(catalogue.sipNodeAddress, L"127.0.0.2:5060");
  EXPECT_EQ(GetLauncher().nodeLists[Sip], (TextList{L"127.0.0.2:5060", L"127.0.0.7:5060"}));
  EXPECT_EQ(library_->Calls(),
            (std::vector<std::string>{"SetNewHttpContacterServer http://127.0.0.5:9090/",
                                      "CreateTCP 127.0.0.6 5060", "ConnectTCP", "DisConnectTCP"}));
  const TextList expected = {
      L"开始正常登陆流程------------------------------------------------Begin",
      L"TCP 直连节点测试 ---> 127.0.0.6:5060",
      L"Successed ---> TCP 连接成功",
      L"",
      L"Http 测试节点：http://127.0.0.2:8887/，IP：127.0.0.2",
      L"Rtpp 测试节点：127.0.0.8:10000，IP：127.0.0.8",
      L"Sip 测试节点：127.0.0.2:5060，IP：127.0.0.2",
      L"Sip 测试节点：127.0.0.7:5060，IP：127.0.0.7",
      L"",
      L"Successed ---> 测试服务器节点延时 Ping",
      L"Server type:Http, URL:127.0.0.2, Delay:1, Lost:0",
      L"Server type:Rtpp, URL:127.0.0.8, Delay:1, Lost:0",
      L"Server type:Sip, URL:127.0.0.2, Delay:1, Lost:0",
      L"Server type:Sip, URL:127.0.0.7, Delay:1, Lost:0",
      L"",
      L"RTPP 节点网络信息 ---> URL:127.0.0.8, Delay:1, Lost:0",
      L"开始正常登陆流程------------------------------------------------End"};
  EXPECT_EQ(ListLines(), expected);
}

TEST_F(LoginFlowTest, DirectFlowThatCannotConnectNeverDisconnectsAndKeepsItsWrites) {
  GetGlobalDataCollection().lastLoginResult.tcpServer = L"127.0.0.6:5062";
  library_->ScriptTcp(L"127.0.0.6", 5062, {true, false, 110});
  EXPECT_FALSE(DirectLoginFlow());
  EXPECT_EQ(library_->CountCalls("DisConnectTCP"), 0);
  EXPECT_EQ(ListLines().back(), L"Failed ---> TCP 连接失败，错误码：110");
  EXPECT_EQ(GetGlobalDataCollection().tcpNodeAddress, L"127.0.0.6:5062");
  EXPECT_EQ(GetGlobalDataCollection().sipNodeAddress, L"");
  EXPECT_EQ(GetLauncher().nodeLists[Sip], TextList{L""}) << "the Sip list always has its head";
}

TEST_F(LoginFlowTest, ProxyFlowStopsAtTheFirstNodeThatConnects) {
  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  catalogue.sipNodeAddress = L"kept";
  catalogue.loginSucceeded = true;
  catalogue.lastLoginResult.sipServer = L"127.0.0.3:5060";
  catalogue.lastLoginResult.tcpProxyServers = {L"127.0.0.6:5061", L"127.0.0.6:5060",
                                               L"127.0.0.6:5062"};
  library_->ScriptTcp(L"127.0.0.6", 5061, {true, false, 111});
  library_->ScriptTcp(L"127.0.0.6", 5060, {});

  EXPECT_TRUE(ProxyLoginFlow());
  EXPECT_EQ(library_->Calls(),
            (std::vector<std::string>{"SetNewHttpContacterServer http://127.0.0.3/kelo_commbook/",
                                      "CreateTCP 127.0.0.6 5061", "ConnectTCP", "GetLastTcpError",
                                      "CreateTCP 127.0.0.6 5060", "ConnectTCP", "DisConnectTCP"}));
  EXPECT_EQ(catalogue.contacterServerUrl, L"http://127.0.0.3/kelo_commbook/");
  EXPECT_EQ(catalogue.tcpNodeAddress, L"127.0.0.6:5060");
  EXPECT_EQ(catalogue.sipNodeAddress, L"kept");
  EXPECT_EQ(GetLauncher().nodeLists[Sip], TextList{L"127.0.0.3:5060"});
}

TEST_F(LoginFlowTest, ProxyFlowReadsTheNodeCountAgainBeforeEachNode) {
  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  catalogue.lastLoginResult.tcpProxyServers = {L"a:1"};
  int creates = 0;
  // Each failing node adds one more, up to three in all.
  library_->OnCreateTcp([&catalogue, &creates] {
    if (++creates < 3) catalogue.lastLoginResult.tcpProxyServers.push_back(L"a:1");
  });
  EXPECT_FALSE(ProxyLoginFlow());
  EXPECT_EQ(library_->CountCalls("CreateTCP"), 3);
  EXPECT_EQ(ListLines().size(), 1u + 3 * 2);
}

TEST_F(LoginFlowTest, ProxyFlowEndsWithItsEndLineButFalseWhenTheLoginIsNoLongerSet) {
  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  catalogue.loginSucceeded = true;
  catalogue.lastLoginResult.tcpProxyServers = {L"127.0.0.6:5060"};
  library_->ScriptTcp(L"127.0.0.6", 5060, {});
  library_->OnCreateTcp([&catalogue] { catalogue.loginSucceeded = false; });
  EXPECT_FALSE(ProxyLoginFlow());
  EXPECT_EQ(ListLines().back(),
            L"开始代理登陆流程------------------------------------------------End");
}

TEST(NodeAddressTest, SplitsAtTheLastColon) {
  const struct {
    const wchar_t* address;
    const wchar_t* host;
    const wchar_t* port;
  } cases[] = {{L"127.0.0.6:5060", L"127.0.0.6", L"5060"},
               {L"a:b:5060", L"a:b", L"5060"},
               {L"127.0.0.6", L"127.0.0.6", L"127.0.0.6"},
               {L"", L"", L""},
               {L"host:", L"host", L""}};
  for (const auto& c : cases) {
    const NodeAddress node = SplitNodeAddress(c.address);
    EXPECT_EQ(node.host, c.host) << ToUtf8(c.address);
    EXPECT_EQ(node.portText, c.port) << ToUtf8(c.address);
  }
}

TEST(NodeAddressTest, ReadsThePortAsWcstolAndPassesItsLow16Bits) {
  const struct {
    const wchar_t* text;
    int32_t number;
    int16_t port;
  } cases[] = {{L"5060", 5060, 5060},
               {L" \t\n5060/ ", 5060, 5060},
               {L"+80", 80, 80},
               {L"-1", -1, -1},
               {L"50000", 50000, -15536},
               {L"65536", 65536, 0},
               {L"127.0.0.6", 127, 127},
               {L"abc", 0, 0},
               {L"", 0, 0},
               {L"-", 0, 0},
               {L" + 5", 0, 0},
               {L"2147483647", INT32_MAX, -1},
               {L"2147483648", INT32_MAX, -1},
               {L"99999999999999999999999", INT32_MAX, -1},
               {L"-2147483648", INT32_MIN, 0},
               {L"-99999999999999999999999", INT32_MIN, 0},
               {L"\u00a05060", 0, 0}};  // only the C locale's white space is skipped
  for (const auto& c : cases) {
    EXPECT_EQ(ReadDecimalLikeWcstol(c.text), c.number) << ToUtf8(c.text);
    EXPECT_EQ(PortArgument(c.text), c.port) << ToUtf8(c.text);
  }
}

}  // namespace
