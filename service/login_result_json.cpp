#include "service/login_result_json.h"

#include <cstdint>
#include <limits>

#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

// Each reader: true when the member is absent, null or read; false when it has the wrong type.

bool ReadText(const json& value, Text& out) {
  if (!value.is_string()) return false;
  out = FromUtf8(value.get_ref<const std::string&>());
  return true;
}

bool ReadNumber(const json& value, int32_t& out) {
  if (value.is_number_unsigned()) {
    const auto number = value.get<uint64_t>();
    if (number > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return false;
    out = static_cast<int32_t>(number);
    return true;
  }
  if (!value.is_number_integer()) return false;
  const auto number = value.get<int64_t>();
  if (number < std::numeric_limits<int32_t>::min() || number > std::numeric_limits<int32_t>::max())
    return false;
  out = static_cast<int32_t>(number);
  return true;
}

// Reads every item of an array; `out` changes only when all of them could be read.
template <typename Item, typename Reader>
bool ReadArray(const json& value, std::vector<Item>& out, Reader readItem) {
  if (!value.is_array()) return false;
  std::vector<Item> items;
  for (const json& element : value) {
    Item item;
    if (!readItem(element, item)) return false;
    items.push_back(std::move(item));
  }
  out = std::move(items);
  return true;
}

bool ReadTextList(const json& value, TextList& out) { return ReadArray(value, out, ReadText); }

bool ReadStat(const json& value, RtppServerStat& out) {
  if (!value.is_object()) return false;
  const auto address = value.find("address");
  if (address == value.end() || !ReadText(*address, out.address)) return false;
  for (auto [name, field] : {std::pair{"delay", &out.delay}, std::pair{"lost", &out.lost}}) {
    const auto member = value.find(name);
    if (member != value.end() && !member->is_null() && !ReadNumber(*member, *field)) return false;
  }
  return true;
}

bool ReadStats(const json& value, std::vector<RtppServerStat>& out) {
  return ReadArray(value, out, ReadStat);
}

template <typename Field, typename Reader>
bool ReadOptional(const json& object, const char* name, Field& field, Reader reader) {
  const auto member = object.find(name);
  if (member == object.end() || member->is_null()) return true;
  return reader(*member, field);
}

json StatsToJson(const std::vector<RtppServerStat>& stats) {
  json out = json::array();
  for (const RtppServerStat& stat : stats) {
    out.push_back({{"address", ToUtf8(stat.address)}, {"delay", stat.delay}, {"lost", stat.lost}});
  }
  return out;
}

json TextsToJson(const TextList& texts) {
  json out = json::array();
  for (const Text& text : texts) out.push_back(ToUtf8(text));
  return out;
}

}  // namespace

bool DecodeLoginResult(std::string_view body, LoginResult& result) {
  const json object = json::parse(body.begin(), body.end(), nullptr, false);
  if (!object.is_object()) return false;
  const auto loginText = object.find("loginText");
  if (loginText == object.end() || !loginText->is_string() ||
      loginText->get_ref<const std::string&>().empty()) {
    return false;
  }

  LoginResult read = result;
  const bool ok = ReadText(*loginText, read.loginText) &&
                  ReadOptional(object, "text2", read.text2, ReadText) &&
                  ReadOptional(object, "sipServer", read.sipServer, ReadText) &&
                  ReadOptional(object, "text4", read.text4, ReadText) &&
                  ReadOptional(object, "text5", read.text5, ReadText) &&
                  ReadOptional(object, "tcpServer", read.tcpServer, ReadText) &&
                  ReadOptional(object, "number1", read.number1, ReadNumber) &&
                  ReadOptional(object, "number2", read.number2, ReadNumber) &&
                  ReadOptional(object, "number3", read.number3, ReadNumber) &&
                  ReadOptional(object, "number4", read.number4, ReadNumber) &&
                  ReadOptional(object, "number5", read.number5, ReadNumber) &&
                  ReadOptional(object, "rtppServers", read.rtppServers, ReadTextList) &&
                  ReadOptional(object, "rtppServerStats", read.rtppServerStats, ReadStats) &&
                  ReadOptional(object, "sipServers", read.sipServers, ReadTextList) &&
                  ReadOptional(object, "tcpProxyServers", read.tcpProxyServers, ReadTextList);
  if (!ok) return false;
  result = std::move(read);
  return true;
}

std::string EncodeLoginResult(const LoginResult& result) {
  const json object = {
      {"loginText", ToUtf8(result.loginText)},
      {"text2", ToUtf8(result.text2)},
      {"sipServer", ToUtf8(result.sipServer)},
      {"text4", ToUtf8(result.text4)},
      {"text5", ToUtf8(result.text5)},
      {"tcpServer", ToUtf8(result.tcpServer)},
      {"number1", result.number1},
      {"number2", result.number2},
      {"number3", result.number3},
      {"number4", result.number4},
      {"number5", result.number5},
      {"rtppServers", TextsToJson(result.rtppServers)},
      {"rtppServerStats", StatsToJson(result.rtppServerStats)},
      {"sipServers", TextsToJson(result.sipServers)},
      {"tcpProxyServers", TextsToJson(result.tcpProxyServers)},
  };
  return object.dump(-1, ' ', false, json::error_handler_t::replace);
}
