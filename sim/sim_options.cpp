#include "sim/sim_options.h"

#include <cstdlib>
#include <string_view>

#include "service_hosts.h"
#include "support/text.h"

namespace {

bool ParseEndpoint(const std::string& text, Endpoint& endpoint) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  char* end = nullptr;
  const long port = std::strtol(text.c_str() + colon + 1, &end, 10);
  if (*end != '\0' || port <= 0 || port > 65535) return false;
  endpoint = Endpoint{text.substr(0, colon), static_cast<int>(port)};
  return true;
}

}  // namespace

const char* SimUsage() {
  return "usage: quorvex-sim [--scenario FILE] [--cases DIR] [--ready-file PATH] [--verbose]\n"
         "                   [--im HOST:PORT] [--wap HOST:PORT] [--cip HOST:PORT]\n"
         "                   [--commbook HOST:PORT] [--tcp-host HOST] [--address-of-case NAME]\n";
}

bool ParseSimOptions(int argc, char** argv, SimOptions& options, std::string& error) {
  options.im = {ToUtf8(quorvex_build::kImHost), 8887};
  options.wap = {ToUtf8(quorvex_build::kWapHost), 80};
  options.cip = {ToUtf8(quorvex_build::kCipHost), 80};
  options.commbook = {ToUtf8(quorvex_build::kCommbookHost), 9090};
  options.tcpHost = "127.0.0.6";
  options.scenarioPath = QUORVEX_SIM_DEFAULT_SCENARIO;
  options.casesPath = QUORVEX_SIM_DEFAULT_CASES;

  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--verbose") {
      options.verbose = true;
      continue;
    }
    if (i + 1 >= argc) {
      error = std::string(option) + " needs a value";
      return false;
    }
    const std::string value = argv[++i];
    Endpoint* endpoint = option == "--im"         ? &options.im
                         : option == "--wap"      ? &options.wap
                         : option == "--cip"      ? &options.cip
                         : option == "--commbook" ? &options.commbook
                                                  : nullptr;
    if (endpoint != nullptr) {
      if (!ParseEndpoint(value, *endpoint)) {
        error = std::string(option) + " wants HOST:PORT, not " + value;
        return false;
      }
    } else if (option == "--scenario") {
      options.scenarioPath = value;
    } else if (option == "--cases") {
      options.casesPath = value;
    } else if (option == "--address-of-case") {
      options.addressCase = value;
    } else if (option == "--ready-file") {
      options.readyFile = value;
    } else if (option == "--tcp-host") {
      options.tcpHost = value;
    } else {
      error = "unknown option " + std::string(option);
      return false;
    }
  }
  return true;
}
