#include "service/form_encoding.h"

namespace {

bool StaysAsIs(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '*' ||
         c == '-' || c == '.' || c == '_';
}

// Into `out` directly, which has room enough: no copy of a value is left behind in freed memory.
void AppendEncoded(std::string& out, std::string_view utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    if (StaysAsIs(c)) {
      out.push_back(ch);
    } else if (c == ' ') {
      out.push_back('+');
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0xF]);
    }
  }
}

}  // namespace

std::string FormEncode(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() * 3);
  AppendEncoded(out, utf8);
  return out;
}

std::string EncodeForm(const std::vector<FormField>& fields) {
  // Reserved at the most it can take, so that the body (a password in it) is never moved.
  size_t most = 0;
  for (const FormField& field : fields) most += 2 + 3 * (field.name.size() + field.value.size());
  std::string out;
  out.reserve(most);
  for (const FormField& field : fields) {
    if (!out.empty()) out.push_back('&');
    AppendEncoded(out, field.name);
    out.push_back('=');
    AppendEncoded(out, field.value);
  }
  return out;
}
