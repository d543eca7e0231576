#include "probe/socket_library.h"

bool StartSocketLibrary() { return true; }
void StopSocketLibrary() {}
