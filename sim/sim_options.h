// Command line of the service simulator.
#pragma once

#include <string>

struct Endpoint {
  std::string host;
  int port = 0;

  bool operator<(const Endpoint& other) const {
    return host != other.host ? host < other.host : port < other.port;
  }
};

struct SimOptions {
  Endpoint im;        // POST /login, POST /logout
  Endpoint wap;       // POST /kelo_http/login, POST /kelo_http/logout, /kelo_commbook/...
  Endpoint cip;       // GET /api/cip
  Endpoint commbook;  // anything
  std::string tcpHost;
  std::string scenarioPath;
  std::string casesPath;    // a folder of whole-run cases; each adds its user (empty: none)
  std::string addressCase;  // whose [address] the client-address service follows (empty: none)
  std::string readyFile;    // created once every listener is bound
  bool verbose = false;     // one line per request on stderr
};

// The defaults are the build's service hosts. False with a message on a bad command line.
bool ParseSimOptions(int argc, char** argv, SimOptions& options, std::string& error);

const char* SimUsage();
