// The version in the report's header against the one the registry records for the system.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "support/platform_process.h"
#include "support/text.h"
#include "support/windows_version.h"

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
  const Text ten = L"Windows 10.0.";
  EXPECT_EQ(WindowsVersionText(10, 0, 19045), ten + L"19045");
  EXPECT_EQ(WindowsVersionText(10, 0, 21999), ten + L"21999");
  EXPECT_EQ(WindowsVersionText(10, 0, 22000), ten + L"22000 (Windows 11)");
  // Windows 10 and later keep "6.3" in CurrentVersion and the real numbers beside it.
  // Windows 8.1 and before keep theirs as text, "6.1".
  DWORD major = 0;
  DWORD minor = 0;
  if (!ReadDword(L"CurrentMajorVersionNumber", major) ||
      !ReadDword(L"CurrentMinorVersionNumber", minor)) {
    const Text version = ReadString(L"CurrentVersion");
    ASSERT_EQ(swscanf(version.c_str(), L"%lu.%lu", &major, &minor), 2) << ToUtf8(version);
  }
  const Text build = ReadString(L"CurrentBuildNumber");
  ASSERT_FALSE(build.empty());
  // With the header's own rule for the name, so that it holds on Windows 11 too.
  EXPECT_EQ(platform::SystemVersionText(),
            WindowsVersionText(major, minor, static_cast<uint32_t>(std::stoul(build))));
}

}  // namespace
