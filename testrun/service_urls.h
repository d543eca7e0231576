// The built-in server URLs; host names come from the build settings.
#pragma once

#include "support/text.h"

Text ImServerUrl();        // http://<IM host>:8887/
Text WapLoginUrl();        // http://<WAP host>/kelo_http/
Text ClientAddressUrl();   // http://<client-address host>/api/cip
Text AddressBookUrl();     // http://<address-book host>:9090/, named by the direct flow
Text WapAddressBookUrl();  // http://<WAP host>/kelo_commbook/, named by the proxy flow
