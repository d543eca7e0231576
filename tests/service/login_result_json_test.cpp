#include "service/login_result_json.h"

#include <gtest/gtest.h>

#include <string>

namespace {

LoginResult FullRecord() {
  LoginResult r;
  r.loginText = L"会话%s%d%n";
  r.text2 = L"说明，测试。";
  r.sipServer = L"127.0.0.2:5060";
  r.text4 = L"http://host/%s?q=%25";
  r.text5 = Text(2000, L'长');
  r.tcpServer = L"127.0.0.6:5060";
  r.number1 = -1;
  r.number2 = 2147483647;
  r.number3 = -2147483647 - 1;
  r.number4 = 0;
  r.number5 = 5;
  r.rtppServers = {L"a:1", L"节点:2"};
  r.rtppServerStats = {{L"a:1", 10, 2}, {L"b:%n", -1, 100}};
  r.sipServers = {L"s:1"};
  r.tcpProxyServers = {L"p:1", L"p:2"};
  return r;
}

TEST(LoginResultJson, EveryFieldSurvivesTheRoundTrip) {
  const LoginResult sent = FullRecord();
  LoginResult read;
  ASSERT_TRUE(DecodeLoginResult(EncodeLoginResult(sent), read));
  EXPECT_EQ(read, sent);
}

TEST(LoginResultJson, MissingAndNullMembersKeepWhatTheRecordHeld) {
  LoginResult read = FullRecord();
  const LoginResult before = read;
  ASSERT_TRUE(DecodeLoginResult(
      R"({"loginText":"new","text2":null,"number4":null,"sipServers":null,"other":[1]})", read));
  LoginResult expected = before;
  expected.loginText = L"new";
  EXPECT_EQ(read, expected);

  LoginResult fresh;
  ASSERT_TRUE(DecodeLoginResult(R"({"loginText":"x","rtppServerStats":[{"address":"a"}]})", fresh));
  EXPECT_EQ(fresh.number4, 1);
  ASSERT_EQ(fresh.rtppServerStats.size(), 1u);
  EXPECT_EQ(fresh.rtppServerStats[0], (RtppServerStat{L"a", 0, 0}));
}

TEST(LoginResultJson, ABodyThatIsNotACompleteRecordIsRefusedAndChangesNothing) {
  const char* const bodies[] = {
      "",
      "not json",
      "<html></html>",
      "[]",
      "\"loginText\"",
      R"({"loginText":"a")",  // cut short
      R"({"text2":"no login text"})",
      R"({"loginText":""})",
      R"({"loginText":5})",
      R"({"loginText":null})",
      R"({"loginText":"a","text2":7})",
      R"({"loginText":"a","number1":"7"})",
      R"({"loginText":"a","number1":1.5})",
      R"({"loginText":"a","number1":2147483648})",
      R"({"loginText":"a","number1":-2147483649})",
      R"({"loginText":"a","number5":true})",
      R"({"loginText":"a","rtppServers":"a:1"})",
      R"({"loginText":"a","sipServers":["a",1]})",
      R"({"loginText":"a","rtppServerStats":[{"delay":1}]})",
      R"({"loginText":"a","rtppServerStats":[{"address":"a","lost":"x"}]})",
      R"({"loginText":"a","rtppServerStats":["a"]})",
      "{\"loginText\":\"\xff\xfe\"}",  // not UTF-8
  };
  for (const char* body : bodies) {
    LoginResult read = FullRecord();
    EXPECT_FALSE(DecodeLoginResult(body, read)) << body;
    EXPECT_EQ(read, FullRecord()) << body;
  }
}

TEST(LoginResultJson, TextsAreUtf8OnTheWire) {
  LoginResult read;
  ASSERT_TRUE(DecodeLoginResult("{\"loginText\":\"\xe4\xbc\x9a\xe8\xaf\x9d\\u0041\"}", read));
  EXPECT_EQ(read.loginText, L"会话A");
  LoginResult sent;
  sent.loginText = L"会";
  EXPECT_NE(EncodeLoginResult(sent).find("\"loginText\":\"\xe4\xbc\x9a\""), std::string::npos);
}

}  // namespace
