// One ICMP echo to one IPv4 host, and the packet helpers of the raw-socket echo.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "support/text.h"

// What Ping reports of a valid reply; written only when Ping succeeds.
struct EchoResult {
  uint32_t replyAddress = 0;   // the host that answered, network byte order
  uint32_t roundTripTime = 0;  // milliseconds
  uint32_t status = 0;         // the echo facility's status of the reply (0: success)
};

// The status of an answer, numbered as the Windows ICMP library numbers it.
inline constexpr uint32_t kEchoStatusSuccess = 0;              // IP_SUCCESS: the target's reply
inline constexpr uint32_t kEchoStatusTtlExpired = 11013;       // IP_TTL_EXPIRED_TRANSIT: a router's
inline constexpr uint32_t kEchoStatusNetUnreachable = 11002;   // IP_DEST_NET_UNREACHABLE
inline constexpr uint32_t kEchoStatusPortUnreachable = 11005;  // IP_DEST_PORT_UNREACHABLE

// What came back for one echo of a path trace.
enum class EchoAnswer { kReply, kTimeExceeded, kUnreachable, kOther };
EchoAnswer AnswerOf(uint32_t status);

// A socket as the platform numbers it (SOCKET on Windows, a descriptor elsewhere).
using NativeSocket = std::uintptr_t;

// Bytes of echo data; every byte is 0x45 where the facility lets us choose them.
inline constexpr int kEchoDataSize = 32;
// The largest an echo of ours carries: the call sample's, an RTP header and 160 bytes of G.711.
inline constexpr int kMaxEchoDataSize = 172;
inline constexpr int kEchoTimeToLive = 50;

// Used by one thread only. The echo facility is chosen at construction and kept until
// destruction: on Windows the ICMP library ("Iphlpapi.dll", else "ICMP.DLL", each only with all
// of IcmpCreateFile, IcmpSendEcho and IcmpCloseHandle); elsewhere an ICMP datagram socket where
// the system allows one, else a raw ICMP socket. Without one, every Ping fails with last error
// 120.
class CPing {
 public:
  CPing();
  // Tries `first`, then `second` instead of the system's choice, so tests can see the fallback:
  // library file names in System32 (or full paths) on Windows, "datagram" or "raw" elsewhere. An
  // empty or unknown name is skipped.
  CPing(const Text& first, const Text& second);
  virtual ~CPing();
  CPing(const CPing&) = delete;
  CPing& operator=(const CPing&) = delete;

  // One echo of kEchoDataSize bytes with time to live 50 to `target` (dotted IPv4 or a host
  // name, resolved again on every call), waiting at most `timeoutMs`. True when a valid reply
  // came back; otherwise the reason is in the thread's last-error value (GetThreadLastError).
  bool Ping(EchoResult& result, const Text& target, uint32_t timeoutMs);

  // One echo to `address` (network byte order) with time to live `ttl`, waiting at most
  // `timeoutMs`. True when anything answered it: the target's valid reply (status 0), a router's
  // "time exceeded" (kEchoStatusTtlExpired) or "destination unreachable"; `result` says which and
  // from where. The survey's Ping is this echo with time to live 50.
  bool Probe(EchoResult& result, uint32_t address, uint32_t ttl, uint32_t timeoutMs);

  // Whether an echo facility was found.
  bool loaded() const { return library != nullptr; }

  // Binds `socket` to port 0 of `localAddress` (dotted or a name; null: any address).
  virtual bool BindLocal(NativeSocket socket, const wchar_t* localAddress);
  // Writes an echo request of `size` bytes (at least 12): type 8, code 0, the identifier at 4
  // and the sequence number at 6 (both as given, in machine order), the tick count at 8 and 0x45
  // in every further byte; stores the checksum at 2 and returns it. Below 12 bytes it writes
  // nothing and returns 0.
  virtual uint16_t BuildEchoRequest(uint8_t* packet, int size, uint16_t sequence,
                                    uint16_t identifier);
  // Checks a received packet that starts with its IPv4 header against the sequence number sent
  // and this process's identifier. `notOurs` ends 0 only when identifier and sequence match.
  virtual bool CheckEchoReply(const uint8_t* packet, int length, uint16_t sequence, int& notOurs);
  // The Internet checksum (RFC 1071) of `length` bytes read as machine-order 16-bit words.
  virtual uint16_t Checksum(const uint8_t* data, int length);

 private:
  struct Library;  // the facility of this platform
  std::unique_ptr<Library> library;
};

// What CPing's BuildEchoRequest and Checksum do, for echoes sent without a CPing.
uint16_t WriteEchoRequest(uint8_t* packet, int size, uint16_t sequence, uint16_t identifier);
uint16_t EchoChecksum(const uint8_t* data, int length);

// CheckEchoReply with the identifier given: a datagram ICMP socket gets one from the system.
bool CheckEchoReplyFor(const uint8_t* packet, int length, uint16_t sequence, uint16_t identifier,
                       int& notOurs);

// The low 16 bits of the process id, the identifier of this process's raw echo requests.
uint16_t EchoIdentifier();

// Resolves a target as the echo does (support/resolve.h); a failure leaves its reason in the
// thread's last-error value.
bool ResolveEchoTarget(const std::string& host, uint32_t& address);

// Binds `socket` to port 0 of `address` (network byte order; 0: any address).
bool BindToAddress(NativeSocket socket, uint32_t address);
