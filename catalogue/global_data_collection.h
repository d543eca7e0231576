// The one process-wide record through which the dialog and the workers of a run hand data over.
// No member is locked: access is ordered by thread start and wait.
#pragma once

#include <cstdint>
#include <vector>

#include "support/login_result.h"
#include "support/text.h"

struct FourTextRecord {
  Text text1, text2, text3, text4;
};

struct EightTextRecord {
  Text text1, text2, text3, text4, text5, text6, text7, text8;
};

class GlobalDataCollection {
 public:
  virtual ~GlobalDataCollection() = default;

  // The record keeps its whole declared shape, each member in its place with its initial value,
  // so it carries members nothing reads: the reserved ones and those marked "carried" (runs write).
  Text reservedText1, reservedText2, reservedText3, reservedText4, reservedText5, reservedText6,
      reservedText7, reservedText8, reservedText9, reservedText10, reservedText11;
  Text userName;
  Text lastLoginText;  // carried
  Text password;
  Text reservedText12, reservedText13;
  bool loginSucceeded = false;
  int32_t lastHttpCode = 0;
  int32_t reservedNumber = 0;
  LoginResult lastLoginResult;
  FourTextRecord reservedRecord;
  EightTextRecord reservedWideRecord;
  std::vector<EightTextRecord> reservedWideRecords;
  bool reservedFlag1 = false;
  TextList loginServerUrls;
  Text activeLoginServerUrl;  // carried
  Text contacterServerUrl;    // carried
  Text tcpNodeAddress;        // host:port
  Text sipNodeAddress;        // carried
  bool reservedFlag2 = false;
};

// Created by the first call, on the user-interface thread before any worker exists; never freed.
GlobalDataCollection& GetGlobalDataCollection();
