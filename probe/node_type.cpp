#include "probe/node_type.h"

Text NodeTypeName(int32_t type) {
  static constexpr const wchar_t* kNames[] = {L"Http", L"Tcp", L"Rtpp", L"Commbook", L"Sip"};
  const uint32_t index = static_cast<uint32_t>(type);
  return index < std::size(kNames) ? Text(kNames[index]) : Text(L"Unknown");
}
