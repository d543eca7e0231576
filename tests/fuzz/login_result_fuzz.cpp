// The login record reader on any body a login server could send.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "service/login_result_json.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// A record with every field set to what no default has, to see what a decoding touched.
LoginResult Prefilled() {
  LoginResult record;
  record.loginText = L"earlier";
  record.text2 = L"二";
  record.sipServer = L"sip.example:5060";
  record.tcpServer = L"tcp.example:5000";
  record.number1 = -7;
  record.number4 = 99;
  record.number5 = 2147483647;
  record.rtppServers = {L"127.0.0.8"};
  record.rtppServerStats = {{L"127.0.0.9", 30, 1}};
  record.sipServers = {L"sip2.example"};
  record.tcpProxyServers = {L"proxy.example:80"};
  return record;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  const LoginResult before = Prefilled();
  LoginResult read = before;
  const bool accepted = DecodeLoginResult(body, read);

  LoginResult fresh;
  Check(DecodeLoginResult(body, fresh) == accepted,
        "whether a body is accepted does not depend on the record it is read into");
  if (!accepted) {
    Check(read == before, "a rejected body leaves the record untouched");
    return 0;
  }
  Check(!read.loginText.empty(), "an accepted record has a login text");

  LoginResult again;
  Check(DecodeLoginResult(EncodeLoginResult(read), again), "a record written is read back");
  Check(again == read, "a record written reads back as it was");
  return 0;
}
