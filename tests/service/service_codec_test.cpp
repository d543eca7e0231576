// The small portable pieces of the service client: form bodies, the address reply, URL schemes and
// the WinHTTP error mapping.
#include <gtest/gtest.h>

#include "service/address_reply.h"
#include "service/form_encoding.h"
#include "service/http_transport.h"
#include "service/transfer_codes.h"
#include "service/winhttp_errors.h"

namespace {

TEST(FormEncoding, KeepsOnlyTheSafeCharactersAndEncodesUtf8Bytes) {
  EXPECT_EQ(FormEncode("AZaz09*-._"), "AZaz09*-._");
  EXPECT_EQ(FormEncode("a b+c&d=e%f/g?h#i~"), "a+b%2Bc%26d%3De%25f%2Fg%3Fh%23i%7E");
  EXPECT_EQ(FormEncode("\xe5\xbc\xa0"), "%E5%BC%A0");  // 张
  EXPECT_EQ(FormEncode(std::string("a\0b", 3)), "a%00b");
  EXPECT_EQ(FormEncode(""), "");
}

TEST(FormEncoding, JoinsFieldsInOrder) {
  EXPECT_EQ(EncodeForm({{"userName", "u 1"}, {"password", "p&w"}}), "userName=u+1&password=p%26w");
  EXPECT_EQ(EncodeForm({{"session", ""}}), "session=");
  EXPECT_EQ(EncodeForm({}), "");
}

TEST(AddressReply, TrimsLineEndsAndSpacesOnly) {
  EXPECT_EQ(AddressFromReply(" \t127.0.0.1\r\n"), L"127.0.0.1");
  EXPECT_EQ(AddressFromReply("a b"), L"a b");
  EXPECT_EQ(AddressFromReply(" \r\n "), L"");
  EXPECT_EQ(AddressFromReply("\xe6\x9c\xac\xe6\x9c\xba\n"), L"本机");
}

TEST(HttpUrl, OnlyHttpAndHttpsAreSpoken) {
  EXPECT_TRUE(IsHttpUrl(L"http://127.0.0.2:8887/"));
  EXPECT_TRUE(IsHttpUrl(L"HTTPS://x/"));
  EXPECT_FALSE(IsHttpUrl(L"ftp://x/"));
  EXPECT_FALSE(IsHttpUrl(L"http:/x"));
  EXPECT_FALSE(IsHttpUrl(L""));
  EXPECT_FALSE(IsHttpUrl(L"login"));
}

TEST(WinHttpErrors, MapOntoTheCodesLibcurlWouldReport) {
  using S = WinHttpStep;
  EXPECT_EQ(TransferCodeOfWinHttpError(12007, S::kSend), transfer_code::kHostNotResolved);
  EXPECT_EQ(TransferCodeOfWinHttpError(12029, S::kSend), transfer_code::kCouldNotConnect);
  EXPECT_EQ(TransferCodeOfWinHttpError(12002, S::kSend), transfer_code::kTimedOut);
  EXPECT_EQ(TransferCodeOfWinHttpError(12002, S::kReadBody), transfer_code::kTimedOut);
  EXPECT_EQ(TransferCodeOfWinHttpError(12030, S::kReceiveHead), transfer_code::kNothingReceived);
  EXPECT_EQ(TransferCodeOfWinHttpError(12152, S::kReceiveHead), transfer_code::kNothingReceived);
  EXPECT_EQ(TransferCodeOfWinHttpError(12030, S::kReadBody), transfer_code::kReceiveFailed);
  EXPECT_EQ(TransferCodeOfWinHttpError(12030, S::kSend), transfer_code::kSendFailed);
  EXPECT_EQ(TransferCodeOfWinHttpError(12005, S::kSetUp), transfer_code::kMalformedUrl);
  EXPECT_EQ(TransferCodeOfWinHttpError(12006, S::kSetUp), transfer_code::kUnsupportedProtocol);
  EXPECT_EQ(TransferCodeOfWinHttpError(12175, S::kSend), transfer_code::kSecureConnectFailed);
  EXPECT_EQ(TransferCodeOfWinHttpError(8, S::kReadBody), transfer_code::kOutOfMemory);
  EXPECT_EQ(TransferCodeOfWinHttpError(12004, S::kSetUp), transfer_code::kFailedInit);
  EXPECT_EQ(TransferCodeOfWinHttpError(12004, S::kReceiveHead), transfer_code::kReceiveFailed);
}

}  // namespace
