// The simulated services and the HTTP servers they run on: one server per host and port, so
// services that share an endpoint share its server.
#pragma once

#include <map>
#include <memory>

#include <httplib.h>

#include "sim/request_record.h"
#include "sim/scenario.h"
#include "sim/sim_options.h"

using ServerSet = std::map<Endpoint, std::unique_ptr<httplib::Server>>;

// Login server "im" at options.im (/login, /logout) and "wap" at options.wap (/kelo_http/...),
// the WAP address book (/kelo_commbook/...), the client-address service and the address book.
// Every login server also answers GET <prefix>sim/logins?user=NAME and
// GET <prefix>sim/logouts?session=TEXT with how many such requests it has had.
struct RequestRecords {
  RequestRecord logins;   // by user name
  RequestRecord logouts;  // by session text
};
void AddServiceRoutes(ServerSet& servers, const SimOptions& options, const Scenario& scenario,
                      RequestRecords& records);
