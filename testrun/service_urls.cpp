#include "testrun/service_urls.h"

#include "service_hosts.h"

Text ImServerUrl() { return Text(L"http://") + quorvex_build::kImHost + L":8887/"; }
Text WapLoginUrl() { return Text(L"http://") + quorvex_build::kWapHost + L"/kelo_http/"; }
Text ClientAddressUrl() { return Text(L"http://") + quorvex_build::kCipHost + L"/api/cip"; }
Text AddressBookUrl() { return Text(L"http://") + quorvex_build::kCommbookHost + L":9090/"; }
Text WapAddressBookUrl() { return Text(L"http://") + quorvex_build::kWapHost + L"/kelo_commbook/"; }
