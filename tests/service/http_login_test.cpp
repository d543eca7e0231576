// HttpLogin against the simulator, over libcurl natively and WinHTTP under Wine.
#include <gtest/gtest.h>

#include "service/transfer_codes.h"
#include "tests/service/sim_test_support.h"

namespace {

using HttpLogin = SimTest;

struct Outcome {
  bool accepted;
  int32_t httpCode;
  int32_t curlCode;
  bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os) {
  *os << (o.accepted ? "accepted" : "refused") << " http " << o.httpCode << " curl " << o.curlCode;
}

Outcome LogIn(ServiceLibrary& library, const Text& server, const Text& user, LoginResult& result,
              const Text& password = L"secret") {
  library.SetNewHttpLoginServer(server);
  const bool accepted = library.HttpLogin(user, password, result);
  return Outcome{accepted, library.GetHttpCode(), library.GetCurlCode()};
}

Outcome LogIn(const HttpClientTimeouts& timeouts, const Text& server, const Text& user) {
  const auto library = CreateHttpServiceLibrary(timeouts);
  LoginResult result;
  const Outcome outcome = LogIn(*library, server, user, result);
  EXPECT_EQ(result, LoginResult()) << "a refused login must leave the record alone";
  return outcome;
}

Text Repeat(const Text& piece, int count) {
  Text out;
  for (int i = 0; i < count; ++i) out += piece;
  return out;
}

// The record of the user "rich" in the default scenario.
LoginResult RichRecord() {
  LoginResult r;
  r.loginText = L"会话" + Repeat(L"%s%d%n", 333);
  r.text2 = L"中文说明：登录成功，欢迎使用。";
  r.sipServer = L"127.0.0.2:5060";
  r.text4 = L"http://127.0.0.3/kelo_http/%s%d%n?q=%25s";
  r.text5 = L"末尾文字";
  r.tcpServer = L"127.0.0.6:5060%s%d%n";
  r.number1 = -7;
  r.number2 = 2147483647;
  r.number3 = -2147483647 - 1;
  r.number4 = 0;
  r.number5 = 42;
  r.rtppServers = {L"127.0.0.8:10000%s%d%n", L"127.0.0.9:10000"};
  r.rtppServerStats = {{L"127.0.0.8:10000", 12, 3}, {L"媒体节点%s", -1, 100}};
  r.sipServers = {L"127.0.0.7:5060", L"http://sip.%s%d%n/"};
  r.tcpProxyServers = {L"127.0.0.6:5061%s", L"127.0.0.6:5060"};
  return r;
}

TEST_F(HttpLogin, BothServersFillEveryFieldOfTheRecord) {
  const auto library = CreateHttpServiceLibrary(kPromptTimeouts);
  for (const Text& server : {ImServerUrl(), WapLoginUrl()}) {
    LoginResult result;
    EXPECT_EQ(LogIn(*library, server, L"rich", result), (Outcome{true, 200, 0}));
    EXPECT_EQ(result.loginText.size(), 2000u);
    EXPECT_EQ(result, RichRecord());
  }
}

TEST_F(HttpLogin, CredentialsTravelAsUtf8FormFieldsAndNeverInTheUrl) {
  const auto library = CreateHttpServiceLibrary(kPromptTimeouts);
  const Text user = L"用户甲 &=+%";
  const Text password = L"密码 &=+%;x\u00e9";
  LoginResult result;
  ASSERT_EQ(LogIn(*library, ImServerUrl(), user, result, password), (Outcome{true, 200, 0}));
  EXPECT_EQ(result.text2, user);
  EXPECT_EQ(result.text4, password);
  EXPECT_EQ(result.text5, L"/login");  // the target as it arrived: no query
  EXPECT_EQ(result.sipServer, L"application/x-www-form-urlencoded");
  EXPECT_EQ(result.number1, 2);  // userName and password, nothing else

  ASSERT_EQ(LogIn(*library, WapLoginUrl(), L"echo", result), (Outcome{true, 200, 0}));
  EXPECT_EQ(result.loginText, L"wap-session-echo");
  EXPECT_EQ(result.text5, L"/kelo_http/login");
  EXPECT_EQ(result.text4, L"secret");
}

TEST_F(HttpLogin, ARefusalReportsTheStatusWithCurlCodeZero) {
  EXPECT_EQ(LogIn(kPromptTimeouts, ImServerUrl(), L"both-refuse"), (Outcome{false, 403, 0}));
  EXPECT_EQ(LogIn(kPromptTimeouts, WapLoginUrl(), L"both-refuse"), (Outcome{false, 503, 0}));
  EXPECT_EQ(LogIn(kPromptTimeouts, ImServerUrl(), L"nobody-we-know"), (Outcome{false, 401, 0}));
}

TEST_F(HttpLogin, NoAnswerReportsTheTransferCode) {
  using namespace transfer_code;
  EXPECT_EQ(LogIn(kPromptTimeouts, DeadUrl(), L"rich"), (Outcome{false, 0, kCouldNotConnect}));
  EXPECT_EQ(LogIn(kPromptTimeouts, ImServerUrl(), L"close"), (Outcome{false, 0, kNothingReceived}));
  EXPECT_EQ(LogIn(kPromptTimeouts, WapLoginUrl(), L"close"), (Outcome{false, 0, kNothingReceived}));
  EXPECT_EQ(LogIn(kPromptTimeouts, Text(L"http://") + kUnresolvableHost + L"/", L"rich"),
            (Outcome{false, 0, kHostNotResolved}));
  EXPECT_EQ(LogIn(kPromptTimeouts, L"ftp://127.0.0.2/", L"rich"),
            (Outcome{false, 0, kUnsupportedProtocol}));
  EXPECT_EQ(LogIn(kPromptTimeouts, L"", L"rich"), (Outcome{false, 0, kUnsupportedProtocol}));
}

TEST_F(HttpLogin, AnAnswerThatIsNotACompleteRecordIsAWeirdReply) {
  using transfer_code::kWeirdReply;
  EXPECT_EQ(LogIn(kPromptTimeouts, ImServerUrl(), L"garbage"), (Outcome{false, 200, kWeirdReply}));
  EXPECT_EQ(LogIn(kPromptTimeouts, WapLoginUrl(), L"garbage"), (Outcome{false, 200, kWeirdReply}));
}

TEST_F(HttpLogin, AServerThatDoesNotAnswerTimesOutWithinTheClientTimeouts) {
  Stopwatch watch;
  EXPECT_EQ(LogIn(kShortTimeouts, ImServerUrl(), L"hang"),
            (Outcome{false, 0, transfer_code::kTimedOut}));
  EXPECT_LT(watch.Seconds(), 2.0);

  // The silent TCP node never completes a handshake: the connect time-out ends the wait.
  const HttpClientTimeouts connectOnly{300, 5000};
  Stopwatch connectWatch;
  EXPECT_EQ(LogIn(connectOnly, Text(L"http://") + kTcpHost + L":5062/", L"rich"),
            (Outcome{false, 0, transfer_code::kTimedOut}));
  EXPECT_LT(connectWatch.Seconds(), 2.0);
}

TEST_F(HttpLogin, ASlowAnswerWithinTheTimeoutsIsAccepted) {
  const auto library = CreateHttpServiceLibrary(kPromptTimeouts);
  LoginResult result;
  EXPECT_EQ(LogIn(*library, ImServerUrl(), L"late", result), (Outcome{true, 200, 0}));
  EXPECT_EQ(result.loginText, L"im-session-slow");
}

TEST_F(HttpLogin, AnswersAreCappedAtOneMebibyte) {
  const auto library = CreateHttpServiceLibrary(kPromptTimeouts);
  LoginResult result;
  ASSERT_EQ(LogIn(*library, ImServerUrl(), L"huge-limit", result), (Outcome{true, 200, 0}));
  EXPECT_EQ(result.loginText, L"huge");
  EXPECT_EQ(result.text5.size(), 1024u * 1024u - 31u);

  EXPECT_EQ(LogIn(kPromptTimeouts, ImServerUrl(), L"huge-over"),
            (Outcome{false, 200, transfer_code::kTooLarge}));
}

TEST_F(HttpLogin, EachAttemptReportsItsOwnCodes) {
  const auto library = CreateHttpServiceLibrary(kPromptTimeouts);
  LoginResult result;
  EXPECT_EQ(LogIn(*library, ImServerUrl(), L"garbage", result).curlCode,
            transfer_code::kWeirdReply);
  EXPECT_EQ(LogIn(*library, ImServerUrl(), L"both-accept", result), (Outcome{true, 200, 0}));
  EXPECT_EQ(LogIn(*library, DeadUrl(), L"both-accept", result),
            (Outcome{false, 0, transfer_code::kCouldNotConnect}));
}

}  // namespace
