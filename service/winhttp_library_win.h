// WinHTTP's functions, taken at run time from System32: winhttp.dll is no KnownDLL, and a static
// import of it would map a file of that name lying beside the executable.
#pragma once

#include <windows.h>
#include <winhttp.h>

struct WinHttpFunctions {
  decltype(&WinHttpCrackUrl) CrackUrl = nullptr;
  decltype(&WinHttpOpen) Open = nullptr;
  decltype(&WinHttpConnect) Connect = nullptr;
  decltype(&WinHttpOpenRequest) OpenRequest = nullptr;
  decltype(&WinHttpSetOption) SetOption = nullptr;
  decltype(&WinHttpSetTimeouts) SetTimeouts = nullptr;
  decltype(&WinHttpSendRequest) SendRequest = nullptr;
  decltype(&WinHttpReceiveResponse) ReceiveResponse = nullptr;
  decltype(&WinHttpQueryHeaders) QueryHeaders = nullptr;
  decltype(&WinHttpReadData) ReadData = nullptr;
  decltype(&WinHttpCloseHandle) CloseHandle = nullptr;
};

// Loaded on first use and kept to the end of the process; null when the library or one of its
// functions is missing (GetLastError says why).
const WinHttpFunctions* WinHttp();
