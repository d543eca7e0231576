// The record a successful login fills.
#pragma once

#include <cstdint>
#include <vector>

#include "support/text.h"

struct RtppServerStat {
  Text address;
  int32_t delay = 0;
  int32_t lost = 0;

  bool operator==(const RtppServerStat&) const = default;
};

struct LoginResult {
  Text loginText;
  Text text2;
  Text sipServer;
  Text text4;
  Text text5;
  Text tcpServer;  // host:port
  int32_t number1 = 0;
  int32_t number2 = 0;
  int32_t number3 = 0;
  int32_t number4 = 1;
  int32_t number5 = 0;
  TextList rtppServers;
  std::vector<RtppServerStat> rtppServerStats;
  TextList sipServers;
  TextList tcpProxyServers;  // each host:port

  bool operator==(const LoginResult&) const = default;
};
