// The echo through the platform's ICMP library, loaded at run time from System32 so the program
// starts where the library is missing.
// winsock2.h must come before windows.h, and ipexport.h needs the types of both.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <ipexport.h>

#include <cstdint>
#include <cstring>
#include <new>

#include "probe/echo_reply.h"
#include "probe/last_error.h"
#include "probe/ping.h"
#include "support/handle_win.h"
#include "support/socket_library.h"
#include "support/system_library_win.h"
#include "support/text_conversions.h"

namespace {

using IcmpCreateFileFunction = HANDLE(WINAPI*)();
using IcmpSendEchoFunction = DWORD(WINAPI*)(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION,
                                            LPVOID, DWORD, DWORD);
using IcmpCloseHandleFunction = BOOL(WINAPI*)(HANDLE);
// The APC routine is declared as FARPROC where the headers lack PIO_APC_ROUTINE; we pass none.
using IcmpSendEcho2Function = DWORD(WINAPI*)(HANDLE, HANDLE, FARPROC, PVOID, IPAddr, LPVOID, WORD,
                                             PIP_OPTION_INFORMATION, LPVOID, DWORD, DWORD);

// One reply record and the 32 echoed bytes: 60 bytes in the 32-bit program. A 64-bit build (tests
// only) has a larger record.
constexpr DWORD kReplySize = sizeof(ICMP_ECHO_REPLY) + kEchoDataSize;
#ifndef _WIN64
static_assert(kReplySize == 60);
#endif

// The trace's buffer also holds an ICMP error message, as IcmpSendEcho2 asks: the record, the
// data and 8 more bytes.
constexpr DWORD kTraceReplySize = sizeof(ICMP_ECHO_REPLY) + kEchoDataSize + 8;

template <typename Function>
Function EntryPoint(HMODULE module, const char* name) {
  // Through the generic function type, which converts to any other without a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

struct CPing::Library {
  ModuleHandle module;
  IcmpCreateFileFunction pfnIcmpCreateFile = nullptr;
  IcmpSendEchoFunction pfnIcmpSendEcho = nullptr;
  IcmpCloseHandleFunction pfnIcmpCloseHandle = nullptr;
  IcmpSendEcho2Function sendEcho2 = nullptr;  // the trace's; none leaves the survey working
  // Resolution needs the socket library; holding a start of it keeps a lone CPing usable.
  SocketLibrary sockets;
};

CPing::CPing() : CPing(L"Iphlpapi.dll", L"ICMP.DLL") {}

CPing::CPing(const Text& first, const Text& second) {
  for (const Text* name : {&first, &second}) {
    if (name->empty()) continue;
    ModuleHandle module = LoadSystemLibrary(name->c_str());
    if (!module.valid()) continue;
    auto loaded = std::make_unique<Library>();
    loaded->pfnIcmpCreateFile = EntryPoint<IcmpCreateFileFunction>(module.get(), "IcmpCreateFile");
    loaded->pfnIcmpSendEcho = EntryPoint<IcmpSendEchoFunction>(module.get(), "IcmpSendEcho");
    loaded->pfnIcmpCloseHandle =
        EntryPoint<IcmpCloseHandleFunction>(module.get(), "IcmpCloseHandle");
    // All three or none: a library that lacks one is unloaded here and the next one tried.
    if (loaded->pfnIcmpCreateFile == nullptr || loaded->pfnIcmpSendEcho == nullptr ||
        loaded->pfnIcmpCloseHandle == nullptr) {
      continue;
    }
    loaded->sendEcho2 = EntryPoint<IcmpSendEcho2Function>(module.get(), "IcmpSendEcho2");
    loaded->module = std::move(module);
    loaded->sockets.Start(2, 2);
    library = std::move(loaded);
    return;
  }
}

CPing::~CPing() = default;

bool CPing::Ping(EchoResult& result, const Text& target, uint32_t timeoutMs) {
  if (!library) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
  }
  // The survey stops its own start of the socket library while abandoned probe threads may still
  // be here; resolving is safe only on this CPing's own start, not on whatever else keeps the
  // library started.
  if (!library->sockets.started()) {
    SetLastError(WSANOTINITIALISED);
    return false;
  }
  uint32_t address = 0;
  if (!ResolveEchoTarget(WideToAnsi(target), address)) return false;

  const LoadedHandle handle({library->pfnIcmpCreateFile(), library->pfnIcmpCloseHandle});
  if (!handle.valid()) return false;

  std::unique_ptr<unsigned char[]> request(new (std::nothrow) unsigned char[kEchoDataSize]);
  std::unique_ptr<unsigned char[]> reply(new (std::nothrow) unsigned char[kReplySize]);
  if (!request || !reply) {
    SetLastError(ERROR_OUTOFMEMORY);
    return false;
  }
  std::memset(request.get(), 0x45, kEchoDataSize);
  std::memset(reply.get(), 0, kReplySize);

  IP_OPTION_INFORMATION options{};
  options.Ttl = kEchoTimeToLive;
  options.Tos = 0;
  options.Flags = 0;
  options.OptionsSize = 0;
  options.OptionsData = nullptr;

  const DWORD records =
      library->pfnIcmpSendEcho(handle.get().handle, address, request.get(), kEchoDataSize, &options,
                               reply.get(), kReplySize, timeoutMs);
  bool answered = false;
  ICMP_ECHO_REPLY record{};
  if (records == 1) {
    std::memcpy(&record, reply.get(), sizeof record);
    if (record.Status != IP_SUCCESS) {
      // An error report (host unreachable, say) came back instead of the node's echo.
      SetLastError(record.Status);
    } else if (!EchoedDataIntact(reply.get(), kReplySize,
                                 reinterpret_cast<std::uintptr_t>(record.Data), record.DataSize)) {
      SetLastError(ERROR_UNEXP_NET_ERR);
    } else {
      answered = true;
    }
  }
  if (!answered) return false;
  result.replyAddress = record.Address;
  result.roundTripTime = record.RoundTripTime;
  result.status = record.Status;
  return true;
}

bool CPing::Probe(EchoResult& result, uint32_t address, uint32_t ttl, uint32_t timeoutMs) {
  if (!library || library->sendEcho2 == nullptr) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
  }
  const LoadedHandle handle({library->pfnIcmpCreateFile(), library->pfnIcmpCloseHandle});
  if (!handle.valid()) return false;
  unsigned char request[kEchoDataSize];
  std::memset(request, 0x45, sizeof request);
  alignas(ICMP_ECHO_REPLY) unsigned char reply[kTraceReplySize] = {};
  IP_OPTION_INFORMATION options{};
  options.Ttl = static_cast<UCHAR>(ttl);

  const DWORD records =
      library->sendEcho2(handle.get().handle, nullptr, nullptr, nullptr, address, request,
                         kEchoDataSize, &options, reply, kTraceReplySize, timeoutMs);
  ICMP_ECHO_REPLY record{};
  std::memcpy(&record, reply, sizeof record);
  // A router's answer may come as a record with its status, or as no record and the status as the
  // last error; it counts only where the library still wrote the record naming the router.
  const DWORD status = records >= 1 ? record.Status : GetLastError();
  const EchoAnswer answer = AnswerOf(status);
  // Without a record naming who answered, nothing did.
  if (answer == EchoAnswer::kOther || record.Address == 0) return false;
  if (answer == EchoAnswer::kReply &&
      (records < 1 ||
       !EchoedDataIntact(reply, kTraceReplySize, reinterpret_cast<std::uintptr_t>(record.Data),
                         record.DataSize))) {
    SetLastError(ERROR_UNEXP_NET_ERR);
    return false;
  }
  result.replyAddress = record.Address;
  result.roundTripTime = record.RoundTripTime;
  result.status = status;
  return true;
}

bool BindToAddress(NativeSocket socket, uint32_t address) {
  sockaddr_in local{};  // port 0
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = address;
  return bind(static_cast<SOCKET>(socket), reinterpret_cast<const sockaddr*>(&local),
              sizeof local) == 0;
}
