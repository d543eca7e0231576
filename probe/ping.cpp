// The packet helpers: the same on every platform.
#include <cstring>

#include "probe/last_error.h"
#include "probe/ping.h"
#include "support/platform_process.h"
#include "support/resolve.h"
#include "support/text_conversions.h"

namespace {

uint16_t ReadWord(const uint8_t* at) {
  uint16_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

void WriteWord(uint8_t* at, uint16_t value) { std::memcpy(at, &value, sizeof value); }

}  // namespace

EchoAnswer AnswerOf(uint32_t status) {
  if (status == kEchoStatusSuccess) return EchoAnswer::kReply;
  if (status == kEchoStatusTtlExpired) return EchoAnswer::kTimeExceeded;
  if (status >= kEchoStatusNetUnreachable && status <= kEchoStatusPortUnreachable) {
    return EchoAnswer::kUnreachable;
  }
  return EchoAnswer::kOther;
}

uint16_t EchoIdentifier() { return static_cast<uint16_t>(platform::CurrentProcessId() & 0xFFFF); }

bool ResolveEchoTarget(const std::string& host, uint32_t& address) {
  const int code = ResolveIPv4(host, address);
  if (code != 0) SetThreadLastError(LastErrorOfResolver(code));
  return code == 0;
}

bool CPing::BindLocal(NativeSocket socket, const wchar_t* localAddress) {
  uint32_t address = 0;
  if (localAddress != nullptr && !ResolveEchoTarget(WideToAnsi(localAddress), address)) {
    return false;
  }
  return BindToAddress(socket, address);
}

uint16_t CPing::Checksum(const uint8_t* data, int length) { return EchoChecksum(data, length); }

uint16_t CPing::BuildEchoRequest(uint8_t* packet, int size, uint16_t sequence,
                                 uint16_t identifier) {
  return WriteEchoRequest(packet, size, sequence, identifier);
}

uint16_t EchoChecksum(const uint8_t* data, int length) {
  uint32_t sum = 0;
  int i = 0;
  for (; i + 1 < length; i += 2) sum += ReadWord(data + i);
  if (i < length) sum += data[i];
  sum = (sum >> 16) + (sum & 0xFFFF);
  sum += sum >> 16;
  return static_cast<uint16_t>(~sum & 0xFFFF);
}

uint16_t WriteEchoRequest(uint8_t* packet, int size, uint16_t sequence, uint16_t identifier) {
  // The header and the tick take 12 bytes; a smaller buffer is left alone rather than overrun.
  if (packet == nullptr || size < 12) return 0;
  packet[0] = 8;
  packet[1] = 0;
  WriteWord(packet + 2, 0);
  WriteWord(packet + 4, identifier);
  WriteWord(packet + 6, sequence);
  const uint32_t tick = platform::TickCount();
  std::memcpy(packet + 8, &tick, sizeof tick);
  if (size > 12) std::memset(packet + 12, 0x45, static_cast<size_t>(size - 12));
  const uint16_t checksum = EchoChecksum(packet, size);
  WriteWord(packet + 2, checksum);
  return checksum;
}

bool CheckEchoReplyFor(const uint8_t* packet, int length, uint16_t sequence, uint16_t identifier,
                       int& notOurs) {
  notOurs = 1;
  if (length < 1) {
    SetThreadLastError(kErrorUnexpectedNetError);
    return false;
  }
  const int header = (packet[0] & 0x0F) * 4;
  if (length < header + 12) {
    SetThreadLastError(kErrorUnexpectedNetError);
    return false;
  }
  if (ReadWord(packet + header + 4) != identifier) return false;
  notOurs = ReadWord(packet + header + 6) != sequence ? 1 : 0;
  if (notOurs) return false;
  if (packet[header] != 0) {
    SetThreadLastError(kErrorUnexpectedNetError);
    return false;
  }
  return true;
}

bool CPing::CheckEchoReply(const uint8_t* packet, int length, uint16_t sequence, int& notOurs) {
  return CheckEchoReplyFor(packet, length, sequence, EchoIdentifier(), notOurs);
}
