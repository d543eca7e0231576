#include "testrun/local_address.h"

#include "support/run_log.h"
#include "support/service_library.h"
#include "testrun/service_urls.h"

unsigned LocalAddressThread(MainWindow* dialog) {
  Text address;
  GetLocalIP(ClientAddressUrl(), address);
  if (dialog != nullptr) dialog->SetLocalAddressText(L"本机IP为：" + address);
  WriteRunLog(L"本机IP为：%s", address);
  return 0;
}
