// Answering one request as a scenario behaviour says.
#pragma once

#include <string>

#include <httplib.h>

#include "sim/scenario.h"

// What an echoing login reports back.
struct LoginEcho {
  std::string userName;
  std::string password;
};

// Waits the behaviour's delay first; a stop during the wait closes the connection instead.
void PerformBehaviour(const Behaviour& behaviour, const httplib::Request& request,
                      httplib::Response& response, const LoginEcho& echo = {});
