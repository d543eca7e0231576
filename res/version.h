// The program's version, written here and nowhere else: the version resource, the About box, the
// transcript header, the HTTP user agent, the build's project version, the manifest and the
// release script all read it.
#pragma once

#define QUORVEX_VERSION_MAJOR 1
#define QUORVEX_VERSION_MINOR 0
#define QUORVEX_VERSION_PATCH 0
#define QUORVEX_VERSION_BUILD 1

// "1.0.0.1", a narrow literal: next to a wide one it joins it.
#define QUORVEX_VERSION_JOIN_(a, b, c, d) #a "." #b "." #c "." #d
#define QUORVEX_VERSION_JOIN(a, b, c, d) QUORVEX_VERSION_JOIN_(a, b, c, d)
#define QUORVEX_VERSION_TEXT                                                                \
  QUORVEX_VERSION_JOIN(QUORVEX_VERSION_MAJOR, QUORVEX_VERSION_MINOR, QUORVEX_VERSION_PATCH, \
                       QUORVEX_VERSION_BUILD)

// "1.0", as the About box and the HTTP user agent ("Quorvex/1.0") name it.
#define QUORVEX_VERSION_SHORT_JOIN_(a, b) #a "." #b
#define QUORVEX_VERSION_SHORT_JOIN(a, b) QUORVEX_VERSION_SHORT_JOIN_(a, b)
#define QUORVEX_VERSION_SHORT_TEXT \
  QUORVEX_VERSION_SHORT_JOIN(QUORVEX_VERSION_MAJOR, QUORVEX_VERSION_MINOR)
