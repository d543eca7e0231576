// Bodies of type application/x-www-form-urlencoded.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct FormField {
  std::string_view name;   // UTF-8
  std::string_view value;  // UTF-8
};

// Letters, digits and "*-._" stay; a space becomes "+"; every other byte becomes %XX.
std::string FormEncode(std::string_view utf8);

// name=value pairs joined with "&", in the given order.
std::string EncodeForm(const std::vector<FormField>& fields);
