// The TCP connection test against the simulator's TCP nodes.
#include <gtest/gtest.h>

#include <filesystem>

#include "service/tcp_error_codes.h"
#include "tests/service/sim_test_support.h"

namespace {

using TcpConnect = SimTest;

constexpr int16_t kAccepts = 5060;
constexpr int16_t kRefuses = 5061;
constexpr int16_t kSilent = 5062;

TEST_F(TcpConnect, ConnectsToAListeningNode) {
  const auto library = CreateHttpServiceLibrary(kPromptTimeouts);
  ASSERT_TRUE(library->CreateTCP(kTcpHost, kAccepts));
  EXPECT_TRUE(library->ConnectTCP());
  EXPECT_TRUE(library->DisConnectTCP());
  EXPECT_FALSE(library->DisConnectTCP());

  // 50000 arrives as a negative 16-bit number.
  ASSERT_TRUE(library->CreateTCP(kTcpHost, static_cast<int16_t>(50000 - 65536)));
  EXPECT_TRUE(library->ConnectTCP());
  library->DisConnectTCP();
}

TEST_F(TcpConnect, FailuresGiveThePlatformsSocketErrors) {
  const auto library = CreateHttpServiceLibrary(kShortTimeouts);
  ASSERT_TRUE(library->CreateTCP(kTcpHost, kRefuses));
  EXPECT_FALSE(library->ConnectTCP());
  EXPECT_EQ(library->GetLastTcpError(), tcp_error::kConnectionRefused);

  ASSERT_TRUE(library->CreateTCP(kTcpHost, kSilent));
  Stopwatch watch;
  EXPECT_FALSE(library->ConnectTCP());
  EXPECT_EQ(library->GetLastTcpError(), tcp_error::kTimedOut);
  EXPECT_LT(watch.Seconds(), 2.0);

  EXPECT_FALSE(library->ConnectTCP()) << "a failed connection is gone";
  EXPECT_EQ(library->GetLastTcpError(), tcp_error::kNotCreated);

  EXPECT_FALSE(library->CreateTCP(kUnresolvableHost, kAccepts));
  const int32_t code = library->GetLastTcpError();
  EXPECT_TRUE(code == tcp_error::kHostNotFound || code == tcp_error::kHostTryAgain) << code;
  EXPECT_FALSE(library->CreateTCP(L"", 0));
  EXPECT_EQ(library->GetLastTcpError(), tcp_error::kHostNotFound);
}

TEST_F(TcpConnect, ANewCreateAfterAFailedConnectReleasesTheOldSocket) {
  const auto library = CreateHttpServiceLibrary(kPromptTimeouts);
#ifdef __linux__
  const auto openFiles = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                         std::filesystem::directory_iterator());
  };
  const auto before = openFiles();
#endif
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(library->CreateTCP(kTcpHost, i % 2 ? kRefuses : kAccepts));
    if (i % 2) {
      EXPECT_FALSE(library->ConnectTCP());
    }
  }
  ASSERT_TRUE(library->CreateTCP(kTcpHost, kAccepts));
  EXPECT_TRUE(library->ConnectTCP());
  EXPECT_TRUE(library->DisConnectTCP());
#ifdef __linux__
  EXPECT_EQ(openFiles(), before);
#endif
}

}  // namespace
