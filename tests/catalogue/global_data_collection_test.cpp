#include "catalogue/global_data_collection.h"

#include <gtest/gtest.h>

namespace {

TEST(GlobalDataCollectionTest, StartsEmptyAndIsOneObjectForTheProcess) {
  GlobalDataCollection fresh;
  EXPECT_TRUE(fresh.userName.empty());
  EXPECT_TRUE(fresh.password.empty());
  EXPECT_FALSE(fresh.loginSucceeded);
  EXPECT_EQ(fresh.lastHttpCode, 0);
  EXPECT_EQ(fresh.lastLoginResult, LoginResult());
  EXPECT_TRUE(fresh.loginServerUrls.empty());
  EXPECT_TRUE(fresh.tcpNodeAddress.empty());
  EXPECT_EQ(&GetGlobalDataCollection(), &GetGlobalDataCollection());
}

TEST(LoginResultTest, StartsWithItsNumbersAndAssignsMemberWise) {
  const LoginResult initial;
  EXPECT_EQ(initial.number1, 0);
  EXPECT_EQ(initial.number2, 0);
  EXPECT_EQ(initial.number3, 0);
  EXPECT_EQ(initial.number4, 1);
  EXPECT_EQ(initial.number5, 0);

  LoginResult source;
  source.loginText = L"session";
  source.tcpServer = L"127.0.0.2:5060";
  source.number4 = 7;
  source.rtppServers = {L"r1", L"r2"};
  source.rtppServerStats = {{L"r1", 3, 4}};
  source.sipServers = {L"s1"};
  source.tcpProxyServers = {L"p1:1", L"p2:2"};

  GlobalDataCollection catalogue;
  catalogue.lastLoginResult = source;
  EXPECT_EQ(catalogue.lastLoginResult, source);
  source.rtppServers.push_back(L"later");
  EXPECT_EQ(catalogue.lastLoginResult.rtppServers.size(), 2u) << "the catalogue keeps its own copy";

  catalogue.lastLoginResult = LoginResult();
  EXPECT_TRUE(catalogue.lastLoginResult.rtppServers.empty());
  EXPECT_TRUE(catalogue.lastLoginResult.tcpProxyServers.empty());
  EXPECT_EQ(catalogue.lastLoginResult.number4, 1);
}

}  // namespace
