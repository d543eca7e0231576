#include "sim/service_routes.h"

#include <iostream>
#include <string>

#include "sim/behaviour_reply.h"

namespace {

httplib::Server& ServerFor(ServerSet& servers, const Endpoint& endpoint) {
  std::unique_ptr<httplib::Server>& server = servers[endpoint];
  if (!server) {
    server = std::make_unique<httplib::Server>();
    // Handlers may wait a while; tests run many requests side by side.
    server->new_task_queue = [] { return new httplib::ThreadPool(32); };
    // One request per connection, so a stop never waits on an idle connection.
    server->set_keep_alive_max_count(1);
    server->set_read_timeout(2, 0);
  }
  return *server;
}

std::string QueryOf(const httplib::Request& request) {
  const size_t mark = request.target.find('?');
  return mark == std::string::npos ? std::string() : request.target.substr(mark + 1);
}

// Never the password: only the user name and what was done.
void Log(bool verbose, const std::string& what) {
  if (verbose) std::cerr << "quorvex-sim: " << what << '\n';
}

void AddLoginServer(httplib::Server& server, const std::string& name, const std::string& prefix,
                    const Scenario& scenario, RequestRecords& records, bool verbose) {
  server.Post(prefix + "login", [&scenario, &records, name, verbose](
                                    const httplib::Request& request, httplib::Response& response) {
    const LoginEcho echo{request.get_param_value("userName"), request.get_param_value("password")};
    Log(verbose, name + " login user=" + echo.userName);
    records.logins.Add(name, echo.userName);
    PerformBehaviour(scenario.Login(name, echo.userName), request, response, echo);
  });
  server.Post(prefix + "logout", [&scenario, &records, name, verbose](
                                     const httplib::Request& request, httplib::Response& response) {
    const std::string session = request.get_param_value("session");
    Log(verbose, name + " logout session of " + std::to_string(session.size()) + " bytes");
    if (session.empty()) {
      response.status = 400;
      response.set_content("no session", "text/plain");
      return;
    }
    records.logouts.Add(name, session);
    PerformBehaviour(scenario.Logout(session), request, response);
  });
  server.Get(prefix + "sim/logins",
             [&records, name](const httplib::Request& request, httplib::Response& response) {
               const int count = records.logins.Count(name, request.get_param_value("user"));
               response.set_content(std::to_string(count), "text/plain");
             });
  server.Get(prefix + "sim/logouts",
             [&records, name](const httplib::Request& request, httplib::Response& response) {
               const int count = records.logouts.Count(name, request.get_param_value("session"));
               response.set_content(std::to_string(count), "text/plain");
             });
}

void AnswerAnything(httplib::Server& server, const std::string& pattern, const std::string& what,
                    bool verbose) {
  const auto handler = [what, verbose](const httplib::Request& request,
                                       httplib::Response& response) {
    Log(verbose, what + " " + request.method + " " + request.path);
    response.set_content("{}", "application/json");
  };
  server.Get(pattern, handler);
  server.Post(pattern, handler);
}

}  // namespace

void AddServiceRoutes(ServerSet& servers, const SimOptions& options, const Scenario& scenario,
                      RequestRecords& records) {
  const bool verbose = options.verbose;
  AddLoginServer(ServerFor(servers, options.im), "im", "/", scenario, records, verbose);
  httplib::Server& wap = ServerFor(servers, options.wap);
  AddLoginServer(wap, "wap", "/kelo_http/", scenario, records, verbose);
  AnswerAnything(wap, "/kelo_commbook/.*", "wap address book", verbose);
  ServerFor(servers, options.cip)
      .Get("/api/cip",
           [&scenario, verbose](const httplib::Request& request, httplib::Response& response) {
             const std::string query = QueryOf(request);
             Log(verbose, "client address ?" + query);
             PerformBehaviour(scenario.ClientAddress(query), request, response);
           });
  AnswerAnything(ServerFor(servers, options.commbook), "/.*", "address book", verbose);
}
