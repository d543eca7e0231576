// The version in the report's header against the one the registry records for the system.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/platform_process.h"
#include "support/text.h"

namespace {

const wchar_t* const kCurrentVersion = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

bool ReadDword(const wchar_t* name, DWORD& value) {
  DWORD size = sizeof(value);
  return RegGetValueW(HKEY_LOCAL_MACHINE, kCurrentVersion, name, RRF_RT_REG_DWORD, nullptr, &value,
                      &size) == ERROR_SUCCESS;
}

Text ReadString(const wchar_t* name) {
  wchar_t value[64] = {};
  DWORD size = sizeof(value);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kCurrentVersion, name, RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS) {
    return Text();
  }
  return value;
}

TEST(SystemVersion, IsTheOneTheRegistryRecords) {
  // Windows 10 and later keep "6.3" in CurrentVersion and the real numbers beside it.
  DWORD major = 0;
  DWORD minor = 0;
  Text version = ReadString(L"CurrentVersion");
  if (ReadDword(L"CurrentMajorVersionNumber", major) &&
      ReadDword(L"CurrentMinorVersionNumber", minor)) {
    version = std::to_wstring(major) + L"." + std::to_wstring(minor);
  }
  const Text build = ReadString(L"CurrentBuildNumber");
  ASSERT_FALSE(version.empty());
  ASSERT_FALSE(build.empty());
  EXPECT_EQ(platform::SystemVersionText(), L"Windows " + version + L"." + build);
}

}  // namespace
