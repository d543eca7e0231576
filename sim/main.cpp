// quorvex-sim: the service's HTTP servers and TCP nodes on loopback, answering as a scenario file
// says, for tests and the demo. Runs until SIGTERM or SIGINT.
#include <signal.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <thread>
#include <vector>

#include "sim/name_server.h"
#include "sim/scenario.h"
#include "sim/service_routes.h"
#include "sim/sim_options.h"
#include "sim/stop_signal.h"
#include "sim/tcp_listeners.h"

namespace {

int Fail(const std::string& message) {
  std::cerr << "quorvex-sim: " << message << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  SimOptions options;
  std::string error;
  if (!ParseSimOptions(argc, argv, options, error)) return Fail(error + "\n" + SimUsage());
  Scenario scenario;
  if (!scenario.Load(options.scenarioPath, error)) return Fail(error);
  if (!options.casesPath.empty() && !scenario.LoadCases(options.casesPath, error)) {
    return Fail(error);
  }
  if (!options.addressCase.empty() && !scenario.UseAddressOfCase(options.addressCase, error)) {
    return Fail(error);
  }

  // Every thread started below inherits this mask; only the main thread takes the signals.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  RequestRecords records;
  ServerSet servers;
  AddServiceRoutes(servers, options, scenario, records);
  for (auto& [endpoint, server] : servers) {
    if (!server->bind_to_port(endpoint.host, endpoint.port)) {
      return Fail("cannot listen on " + endpoint.host + ":" + std::to_string(endpoint.port));
    }
  }
  TcpListeners tcp;
  if (!tcp.Start(options.tcpHost, error)) return Fail(error);
  NameServer names;
  if (!names.Start(kNameServerAddress, error)) return Fail(error);

  std::vector<std::thread> listeners;
  for (auto& [endpoint, server] : servers) {
    listeners.emplace_back([&server = *server] { server.listen_after_bind(); });
  }
  // Ready only once every server takes connections, so that a stop right away still stops them.
  for (int i = 0; i < 2000; ++i) {
    bool running = true;
    for (auto& [endpoint, server] : servers) running = running && server->is_running();
    if (running) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (!options.readyFile.empty()) std::ofstream(options.readyFile) << "ready\n";

  int received = 0;
  sigwait(&stopSignals, &received);
  tcp.Stop();
  names.Stop();
  for (auto& [endpoint, server] : servers) server->stop();
  for (std::thread& listener : listeners) listener.join();
  return 0;
}
