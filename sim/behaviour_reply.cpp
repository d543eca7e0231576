#include "sim/behaviour_reply.h"

#include "sim/request_connection.h"
#include "sim/stop_signal.h"

namespace {

constexpr const char* kJson = "application/json";

// Exactly `bytes` long when that is more than the bare record.
std::string PaddedRecord(size_t bytes) {
  const std::string head = "{\"loginText\":\"huge\",\"text5\":\"";
  const std::string tail = "\"}";
  const size_t bare = head.size() + tail.size();
  return head + std::string(bytes > bare ? bytes - bare : 0, 'x') + tail;
}

nlohmann::json EchoRecord(const Behaviour& behaviour, const httplib::Request& request,
                          const LoginEcho& echo) {
  nlohmann::json record = behaviour.result;
  record["text2"] = echo.userName;
  record["text4"] = echo.password;
  record["text5"] = request.target;
  record["sipServer"] = request.get_header_value("Content-Type");
  record["number1"] = static_cast<int>(request.params.size());
  return record;
}

}  // namespace

void PerformBehaviour(const Behaviour& behaviour, const httplib::Request& request,
                      httplib::Response& response, const LoginEcho& echo) {
  if (behaviour.delaySeconds > 0 && !SleepUnlessStopped(behaviour.delaySeconds)) {
    ShutDownRequestConnection(request);
    return;
  }
  const auto dump = [](const nlohmann::json& value) {
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  };
  switch (behaviour.action) {
    case Behaviour::Action::kAccept:
      response.set_content(dump(behaviour.result), kJson);
      return;
    case Behaviour::Action::kEcho:
      response.set_content(dump(EchoRecord(behaviour, request, echo)), kJson);
      return;
    case Behaviour::Action::kReply:
      response.status = behaviour.status;
      response.set_content(behaviour.body, behaviour.contentType.c_str());
      return;
    case Behaviour::Action::kClose:
      ShutDownRequestConnection(request);
      return;
    case Behaviour::Action::kHuge:
      response.set_content(PaddedRecord(behaviour.bytes), kJson);
      return;
    case Behaviour::Action::kClientAddress:
      response.set_content(request.remote_addr + "\n", "text/plain");
      return;
  }
}
