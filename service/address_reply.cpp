#include "service/address_reply.h"

Text AddressFromReply(std::string_view body) {
  constexpr std::string_view kSpace = " \t\r\n";
  const size_t first = body.find_first_not_of(kSpace);
  if (first == std::string_view::npos) return Text();
  const size_t last = body.find_last_not_of(kSpace);
  return FromUtf8(body.substr(first, last - first + 1));
}
