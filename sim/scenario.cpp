#include "sim/scenario.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cases/case_file.h"

using nlohmann::json;

namespace {

bool ReadBehaviour(const json& value, Behaviour& out, std::string& error) {
  if (!value.is_object()) {
    error = "a behaviour must be an object";
    return false;
  }
  static const std::map<std::string, Behaviour::Action> kActions = {
      {"accept", Behaviour::Action::kAccept},
      {"echo", Behaviour::Action::kEcho},
      {"reply", Behaviour::Action::kReply},
      {"close", Behaviour::Action::kClose},
      {"huge", Behaviour::Action::kHuge},
      {"client-address", Behaviour::Action::kClientAddress}};
  const std::string action = value.value("action", std::string());
  const auto found = kActions.find(action);
  if (found == kActions.end()) {
    error = "unknown action \"" + action + "\"";
    return false;
  }
  out.action = found->second;
  out.delaySeconds = value.value("delaySeconds", 0.0);
  if (out.delaySeconds < 0 || out.delaySeconds > kMaxDelaySeconds) {
    error = "delaySeconds must lie between 0 and 30";
    return false;
  }
  out.result = value.value("result", json::object());
  out.status = value.value("status", 200);
  out.body = value.value("body", std::string());
  out.contentType = value.value("contentType", std::string("text/plain"));
  out.bytes = value.value("bytes", size_t{0});
  out.repeatLists = value.value("repeatLists", size_t{1});
  if (out.repeatLists < 1 || out.repeatLists > 100000) {
    error = "repeatLists must lie between 1 and 100000";
    return false;
  }
  if (out.repeatLists > 1) {
    for (auto& [name, member] : out.result.items()) {
      if (!member.is_array()) continue;
      const nlohmann::json once = member;
      for (size_t i = 1; i < out.repeatLists; ++i) {
        for (const auto& item : once) member.push_back(item);
      }
    }
  }
  if (out.status < 100 || out.status > 999 || !out.result.is_object()) {
    error = "status must be 100 to 999 and result an object";
    return false;
  }
  return true;
}

bool ReadServers(const std::string& user, const json& servers,
                 std::map<std::string, std::map<std::string, Behaviour>>& logins,
                 std::string& error) {
  if (!servers.is_object()) {
    error = "users." + user + " must be an object";
    return false;
  }
  for (const auto& [server, value] : servers.items()) {
    if (server == "logout") continue;  // read by the caller that allows it
    if (server != "im" && server != "wap") {
      error = "users." + user + ": server must be im or wap, not " + server;
      return false;
    }
    if (!ReadBehaviour(value, logins[server][user], error)) {
      error = "users." + user + "." + server + ": " + error;
      return false;
    }
  }
  return true;
}

bool ReadEntries(const json& object, std::map<std::string, Behaviour>& out, std::string& error) {
  if (!object.is_object()) {
    error = "expected an object of behaviours";
    return false;
  }
  for (const auto& [key, value] : object.items()) {
    if (!ReadBehaviour(value, out[key], error)) {
      error = key + ": " + error;
      return false;
    }
  }
  return true;
}

}  // namespace

Scenario::Scenario() {
  refuseLogin_.status = 401;
  refuseLogin_.body = "unknown user";
  acceptLogout_.body = "ok";
  clientAddress_.action = Behaviour::Action::kClientAddress;
}

bool Scenario::Load(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot read " + path;
    return false;
  }
  std::stringstream content;
  content << file.rdbuf();
  const json root = json::parse(content.str(), nullptr, false, true);
  if (!root.is_object()) {
    error = path + " is not a JSON object";
    return false;
  }
  try {
    if (root.contains("users")) {
      for (const auto& [user, servers] : root.at("users").items()) {
        if (!ReadServers(user, servers, logins_, error)) return false;
      }
    }
    if (root.contains("logout") && !ReadEntries(root.at("logout"), logouts_, error)) return false;
    if (root.contains("cip") && !ReadEntries(root.at("cip"), clientAddresses_, error)) return false;
  } catch (const json::exception& e) {
    error = path + ": " + e.what();
    return false;
  }
  return true;
}

bool Scenario::AddUser(const std::string& user, const std::string& serversJson,
                       std::string& error) {
  for (const auto& [server, users] : logins_) {
    if (users.count(user) != 0) {
      error = "user " + user + " is defined twice";
      return false;
    }
  }
  const json servers = json::parse(serversJson, nullptr, false, true);
  try {
    if (!ReadServers(user, servers, logins_, error)) return false;
    if (!servers.contains("logout")) return true;
    // The logout of every session this user's logins hand out.
    Behaviour logout;
    if (!ReadBehaviour(servers.at("logout"), logout, error)) {
      error = "users." + user + ".logout: " + error;
      return false;
    }
    for (const char* server : {"im", "wap"}) {
      const auto entry = logins_[server].find(user);
      if (entry == logins_[server].end()) continue;
      const std::string session = entry->second.result.value("loginText", std::string());
      if (!session.empty()) logouts_[session] = logout;
    }
    return true;
  } catch (const json::exception& e) {
    error = "users." + user + ": " + e.what();
    return false;
  }
}

bool Scenario::LoadCases(const std::string& folder, std::string& error) {
  std::error_code failure;
  for (const auto& entry : std::filesystem::directory_iterator(folder, failure)) {
    if (entry.path().extension() != ".case") continue;
    CaseFile file;
    if (!ReadCaseFile(entry.path(), file, error)) return false;
    if (!AddUser(file.name, file.service, error)) {
      error = entry.path().string() + ": " + error;
      return false;
    }
    if (CaseOwnsService(file)) {
      const json address = json::parse(file.address, nullptr, false, true);
      if (!ReadBehaviour(address, caseAddresses_[file.name], error)) {
        error = entry.path().string() + ": [address]: " + error;
        return false;
      }
    }
  }
  if (failure) error = "cannot list " + folder + ": " + failure.message();
  return !failure;
}

bool Scenario::UseAddressOfCase(const std::string& name, std::string& error) {
  const auto found = caseAddresses_.find(name);
  if (found == caseAddresses_.end()) {
    error = "no case " + name + " with an [address] section";
    return false;
  }
  clientAddresses_[""] = found->second;
  return true;
}

const Behaviour& Scenario::Find(const Entries& entries, const std::string& key,
                                const Behaviour& fallback) {
  auto found = entries.find(key);
  if (found == entries.end()) found = entries.find("default");
  return found == entries.end() ? fallback : found->second;
}

const Behaviour& Scenario::Login(const std::string& server, const std::string& userName) const {
  const auto entries = logins_.find(server);
  if (entries == logins_.end()) return refuseLogin_;
  return Find(entries->second, userName, refuseLogin_);
}

const Behaviour& Scenario::Logout(const std::string& session) const {
  return Find(logouts_, session, acceptLogout_);
}

const Behaviour& Scenario::ClientAddress(const std::string& query) const {
  return Find(clientAddresses_, query, clientAddress_);
}
