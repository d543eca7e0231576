#include "service/form_encoding.h"

namespace {

bool StaysAsIs(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '*' ||
         c == '-' || c == '.' || c == '_';
}

}  // namespace

std::string FormEncode(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(utf8.size() * 3);
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
  return out;
}

std::string EncodeForm(const std::vector<FormField>& fields) {
  std::string out;
  for (const FormField& field : fields) {
    if (!out.empty()) out.push_back('&');
    out += FormEncode(field.name);
    out.push_back('=');
    out += FormEncode(field.value);
  }
  return out;
}
