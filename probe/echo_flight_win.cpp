// The traces' echoes through IcmpSendEcho2, each ending in an APC that runs on this thread while it
// waits alertably in Collect.
// winsock2.h must come before windows.h, and ipexport.h needs the types of both.
#include <winsock2.h>

#include <windows.h>

#include <ipexport.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <type_traits>

#include "probe/echo_flight.h"
#include "probe/echo_reply.h"
#include "probe/last_error.h"
#include "support/handle_win.h"
#include "support/system_library_win.h"
#include "support/text_conversions.h"

namespace {

// Since Vista the routine is an I/O APC (PIO_APC_ROUTINE): three arguments, stdcall; the program
// needs Windows 7, so XP's one-argument form never meets it.
using EchoApc = void(NTAPI*)(void* context, void* ioStatus, ULONG reserved);
using IcmpCreateFileFunction = HANDLE(WINAPI*)();
using IcmpCloseHandleFunction = BOOL(WINAPI*)(HANDLE);
using IcmpSendEcho2Function = DWORD(WINAPI*)(HANDLE, HANDLE, EchoApc, PVOID, IPAddr, LPVOID, WORD,
                                             PIP_OPTION_INFORMATION, LPVOID, DWORD, DWORD);
using IcmpParseRepliesFunction = DWORD(WINAPI*)(LPVOID, DWORD);

// The record, the echoed data and 8 more bytes, as IcmpSendEcho2 asks.
constexpr DWORD kReplySize = sizeof(ICMP_ECHO_REPLY) + kMaxEchoDataSize + 8;
// A wait reported over this much early was no whole wait.
constexpr DWORD kWaitToleranceMs = 50;

// Written by the system and the APC until the echo ends; a pending one left at the end is never
// freed, as the system may still write its answer there.
struct Pending {
  alignas(ICMP_ECHO_REPLY) unsigned char reply[kReplySize] = {};
  uint64_t tag = 0;
  DWORD sentTick = 0;
  DWORD waitMs = 0;
  bool done = false;  // set by the APC, on the thread that sent it
};

void NTAPI EchoEnded(void* context, void*, ULONG) { static_cast<Pending*>(context)->done = true; }
// The APC is called with three arguments that the routine itself takes off the stack in a 32-bit
// program: a routine of any other form would unbalance it.
static_assert(std::is_same_v<decltype(&EchoEnded), void(__stdcall*)(void*, void*, ULONG)>);

template <typename Function>
Function EntryPoint(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

class IcmpFlight : public EchoFlight {
 public:
  ModuleHandle module;
  IcmpCreateFileFunction create = nullptr;
  IcmpCloseHandleFunction close = nullptr;
  IcmpSendEcho2Function send = nullptr;
  IcmpParseRepliesFunction parse = nullptr;
  LoadedHandle icmp;

  ~IcmpFlight() override {
    const DWORD start = GetTickCount();
    DWORD longest = 0;
    for (const Pending* pending : pending_) longest = std::max(longest, pending->waitMs);
    while (!pending_.empty() && GetTickCount() - start < longest + 500) {
      SleepEx(20, TRUE);
      std::erase_if(pending_, [](Pending* pending) {
        if (!pending->done) return false;
        delete pending;
        return true;
      });
    }
    // What never ended keeps its memory and the library that may still write into it.
    if (!pending_.empty()) module.release();
  }

  bool Send(uint64_t tag, uint32_t address, uint32_t ttl, uint32_t waitMs, int dataSize,
            uint32_t& error) override {
    auto* pending = new (std::nothrow) Pending;
    if (pending == nullptr) {
      error = ERROR_OUTOFMEMORY;
      return false;
    }
    unsigned char request[kMaxEchoDataSize];
    std::memset(request, 0x45, sizeof request);
    const WORD size = static_cast<WORD>(std::clamp(dataSize, 0, kMaxEchoDataSize));
    IP_OPTION_INFORMATION options{};
    options.Ttl = static_cast<UCHAR>(ttl);
    pending->tag = tag;
    pending->waitMs = waitMs;
    pending->sentTick = GetTickCount();
    const DWORD records = send(icmp.get().handle, nullptr, EchoEnded, pending, address, request,
                               size, &options, pending->reply, kReplySize, waitMs);
    const DWORD reason = GetLastError();
    if (records == 0 && reason != ERROR_IO_PENDING) {
      delete pending;
      error = reason;
      return false;
    }
    pending_.push_back(pending);
    return true;
  }

  std::vector<EchoOutcome> Collect(uint32_t waitMs) override {
    const bool anyDone = std::any_of(pending_.begin(), pending_.end(),
                                     [](Pending* pending) { return pending->done; });
    if (!anyDone) SleepEx(waitMs, TRUE);
    std::vector<EchoOutcome> ended;
    std::erase_if(pending_, [&](Pending* pending) {
      if (!pending->done) return false;
      ended.push_back(Outcome(*pending));
      delete pending;
      return true;
    });
    return ended;
  }

  size_t inFlight() const override { return pending_.size(); }

 private:
  EchoOutcome Outcome(Pending& pending) const {
    EchoOutcome outcome;
    outcome.tag = pending.tag;
    const DWORD records = parse(pending.reply, kReplySize);
    const DWORD reason = GetLastError();
    ICMP_ECHO_REPLY record{};
    std::memcpy(&record, pending.reply, sizeof record);
    // A router's answer may come as no record and its status as the error; it counts only where
    // the buffer names who answered.
    const DWORD status = records >= 1 ? record.Status : reason != 0 ? reason : record.Status;
    const EchoAnswer answer = AnswerOf(status);
    const bool corrupted =
        answer == EchoAnswer::kReply && records >= 1 &&
        !EchoedDataIntact(pending.reply, kReplySize, reinterpret_cast<std::uintptr_t>(record.Data),
                          record.DataSize);
    if ((status == IP_REQ_TIMED_OUT &&
         GetTickCount() - pending.sentTick + kWaitToleranceMs >= pending.waitMs) ||
        corrupted) {
      outcome.kind = EchoOutcome::Kind::kTimedOut;  // a corrupted reply is lost to the path too
    } else if (answer == EchoAnswer::kOther || record.Address == 0 ||
               (answer == EchoAnswer::kReply && records < 1)) {
      outcome.kind = EchoOutcome::Kind::kFailed;
      outcome.error = answer == EchoAnswer::kOther ? status : ERROR_UNEXP_NET_ERR;
    } else {
      outcome.kind = EchoOutcome::Kind::kAnswered;
      outcome.result.replyAddress = record.Address;
      outcome.result.roundTripTime = record.RoundTripTime;
      outcome.result.status = status;
    }
    return outcome;
  }

  std::vector<Pending*> pending_;
};

Text WithCode(const wchar_t* what, DWORD code) {
  return what + ToText(static_cast<int32_t>(code)) + L"）";
}

}  // namespace

std::unique_ptr<EchoFlight> MakeEchoFlight(Text& why) {
  for (const wchar_t* name : {L"Iphlpapi.dll", L"ICMP.DLL"}) {
    ModuleHandle module = LoadSystemLibrary(name);
    if (!module.valid()) continue;
    auto flight = std::make_unique<IcmpFlight>();
    flight->create = EntryPoint<IcmpCreateFileFunction>(module.get(), "IcmpCreateFile");
    flight->close = EntryPoint<IcmpCloseHandleFunction>(module.get(), "IcmpCloseHandle");
    flight->send = EntryPoint<IcmpSendEcho2Function>(module.get(), "IcmpSendEcho2");
    flight->parse = EntryPoint<IcmpParseRepliesFunction>(module.get(), "IcmpParseReplies");
    if (flight->create == nullptr || flight->close == nullptr || flight->send == nullptr ||
        flight->parse == nullptr) {
      why = L"本机的 ICMP 库缺少 IcmpSendEcho2";
      continue;
    }
    flight->module = std::move(module);
    flight->icmp.reset({flight->create(), flight->close});
    if (!flight->icmp.valid()) {
      why = WithCode(L"无法打开 ICMP（IcmpCreateFile 失败，错误码 ", GetLastError());
      return nullptr;
    }
    return flight;
  }
  if (why.empty()) why = L"本机没有可用的 ICMP 功能（没有 ICMP 库或没有权限）";
  return nullptr;
}
