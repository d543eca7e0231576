// The form encoder on any fields (input: names and values one after another, each ended by a
// backslash that is not doubled, as FuzzedDataProvider's ConsumeRandomLengthString reads them).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "service/form_encoding.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool InEncoding(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         std::string_view("*-._+%").find(c) != std::string_view::npos;
}

// What a form reader makes of one encoded name or value.
std::string FormDecode(std::string_view encoded) {
  std::string out;
  for (size_t i = 0; i < encoded.size(); ++i) {
    Check(InEncoding(encoded[i]), "only letters, digits, *-._+ and %XX in an encoded text");
    if (encoded[i] == '+') {
      out.push_back(' ');
    } else if (encoded[i] == '%') {
      const int high = i + 1 < encoded.size() ? HexValue(encoded[i + 1]) : -1;
      const int low = i + 2 < encoded.size() ? HexValue(encoded[i + 2]) : -1;
      Check(high >= 0 && low >= 0, "% is followed by two upper-case hex digits");
      out.push_back(static_cast<char>(high * 16 + low));
      i += 2;
    } else {
      out.push_back(encoded[i]);
    }
  }
  return out;
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  std::vector<std::string> texts;
  while (provider.remaining_bytes() > 0) texts.push_back(provider.ConsumeRandomLengthString());
  if (texts.size() % 2 != 0) texts.emplace_back();
  std::vector<FormField> fields;
  for (size_t i = 0; i < texts.size(); i += 2) fields.push_back({texts[i], texts[i + 1]});

  const std::string body = EncodeForm(fields);
  if (fields.empty()) {
    Check(body.empty(), "no fields give an empty body");
    return 0;
  }
  const std::vector<std::string_view> pairs = SplitAt(body, '&');
  Check(pairs.size() == fields.size(), "one name=value pair for every field");
  for (size_t i = 0; i < pairs.size(); ++i) {
    const std::vector<std::string_view> sides = SplitAt(pairs[i], '=');
    Check(sides.size() == 2, "one = in every pair");
    Check(FormDecode(sides[0]) == fields[i].name, "a name decodes to itself");
    Check(FormDecode(sides[1]) == fields[i].value, "a value decodes to itself");
  }
  return 0;
}
