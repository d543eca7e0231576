// What the simulated services answer, read from a scenario file (format in docs/).
#pragma once

#include <cstddef>
#include <map>
#include <string>

#include <nlohmann/json.hpp>

struct Behaviour {
  enum class Action {
    kAccept,         // 200 with `result` as the login record
    kEcho,           // like kAccept, with what the request carried put into the record
    kReply,          // `status` with `body` of `contentType`
    kClose,          // close the connection without answering
    kHuge,           // 200 with a login record padded to `bytes` bytes
    kClientAddress,  // 200 with the caller's address
  };
  Action action = Action::kReply;
  double delaySeconds = 0;  // before answering; at most kMaxDelaySeconds
  nlohmann::json result = nlohmann::json::object();
  int status = 200;
  std::string body;
  std::string contentType = "text/plain";
  size_t bytes = 0;
  size_t repeatLists = 1;  // every list of `result` repeated this often (long node lists)
};

inline constexpr double kMaxDelaySeconds = 30;

class Scenario {
 public:
  Scenario();

  // False with a message when the file cannot be read or does not fit the format.
  bool Load(const std::string& path, std::string& error);

  // Adds the logins of one user from a JSON object {"im": behaviour, "wap": behaviour}; false with
  // a message when it does not fit or the user is known already.
  bool AddUser(const std::string& user, const std::string& serversJson, std::string& error);
  // Adds the user of every whole-run case (*.case) in the folder.
  bool LoadCases(const std::string& folder, std::string& error);
  // The client-address service answers every request without a key as the [address] section of
  // that case says; false when no case of that name has one.
  bool UseAddressOfCase(const std::string& name, std::string& error);

  // server is "im" or "wap". An unknown user, or a user without an entry for that server, gets
  // the entry of the user "default".
  const Behaviour& Login(const std::string& server, const std::string& userName) const;
  const Behaviour& Logout(const std::string& session) const;
  // query is the text after "?" in the request, empty without one.
  const Behaviour& ClientAddress(const std::string& query) const;

 private:
  using Entries = std::map<std::string, Behaviour>;
  static const Behaviour& Find(const Entries& entries, const std::string& key,
                               const Behaviour& fallback);

  std::map<std::string, Entries> logins_;  // by server, then by user
  Entries logouts_;
  Entries clientAddresses_;
  Entries caseAddresses_;  // by case
  Behaviour refuseLogin_;
  Behaviour acceptLogout_;
  Behaviour clientAddress_;
};
