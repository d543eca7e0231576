#include "support/service_library.h"

#include <mutex>
#include <utility>

#include "support/program_closing.h"
#include "support/secret_wipe.h"

namespace {

struct Slot {
  std::mutex lock;
  std::shared_ptr<ServiceLibrary> library;
};

// Never destroyed: detached workers may still call in while the process ends.
Slot& TheSlot() {
  static Slot* const slot = new Slot;
  return *slot;
}

template <typename Result, typename Call>
Result Forward(Result fallback, Call call) {
  const std::shared_ptr<ServiceLibrary> library = InstalledServiceLibrary();
  return library ? call(*library) : fallback;
}

// A network step: none starts once the program is closing.
template <typename Result, typename Call>
Result ForwardUnlessClosing(Result fallback, Call call) {
  return ProgramClosing() ? fallback : Forward(fallback, call);
}

}  // namespace

void InstallServiceLibrary(std::shared_ptr<ServiceLibrary> library) {
  Slot& slot = TheSlot();
  std::lock_guard<std::mutex> guard(slot.lock);
  slot.library = std::move(library);
}

std::shared_ptr<ServiceLibrary> InstalledServiceLibrary() {
  Slot& slot = TheSlot();
  std::lock_guard<std::mutex> guard(slot.lock);
  return slot.library;
}

bool SetNewHttpLoginServer(Text url) {
  return Forward(false, [&](ServiceLibrary& l) { return l.SetNewHttpLoginServer(std::move(url)); });
}

bool HttpLogin(Text userName, Text password, LoginResult& result) {
  const bool accepted = ForwardUnlessClosing(false, [&](ServiceLibrary& l) {
    return l.HttpLogin(std::move(userName), std::move(password), result);
  });
  // Moved from, a short password still stands in the string's own buffer.
  WipeText(password);
  return accepted;
}

int32_t GetHttpCode() {
  return Forward<int32_t>(0, [](ServiceLibrary& l) { return l.GetHttpCode(); });
}

int32_t GetCurlCode() {
  return Forward<int32_t>(0, [](ServiceLibrary& l) { return l.GetCurlCode(); });
}

bool HttpLogout() {
  return Forward(false, [](ServiceLibrary& l) { return l.HttpLogout(); });
}

bool GetLocalIP(Text url, Text& address) {
  return ForwardUnlessClosing(
      false, [&](ServiceLibrary& l) { return l.GetLocalIP(std::move(url), address); });
}

bool SetNewHttpContacterServer(Text url) {
  return Forward(false,
                 [&](ServiceLibrary& l) { return l.SetNewHttpContacterServer(std::move(url)); });
}

bool CreateTCP(Text host, int16_t port) {
  return ForwardUnlessClosing(
      false, [&](ServiceLibrary& l) { return l.CreateTCP(std::move(host), port); });
}

bool ConnectTCP() {
  return ForwardUnlessClosing(false, [](ServiceLibrary& l) { return l.ConnectTCP(); });
}

bool DisConnectTCP() {
  return Forward(false, [](ServiceLibrary& l) { return l.DisConnectTCP(); });
}

int32_t GetLastTcpError() {
  return Forward<int32_t>(0, [](ServiceLibrary& l) { return l.GetLastTcpError(); });
}

void EndSessionsOnClose(std::chrono::steady_clock::time_point deadline) {
  const std::shared_ptr<ServiceLibrary> library = InstalledServiceLibrary();
  if (library) library->EndSessionsOnClose(deadline);
}
