// The built-in server URLs; host names come from the build settings.
#pragma once

#include "support/text.h"

Text ImServerUrl();       // http://<IM host>:8887/
Text WapLoginUrl();       // http://<WAP host>/kelo_http/
Text ClientAddressUrl();  // http://<client-address host>/api/cip
