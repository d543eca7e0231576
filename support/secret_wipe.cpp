#include "support/secret_wipe.h"

namespace {

template <typename String>
void WipeString(String& text) {
  text.resize(text.capacity());
  WipeMemory(text.data(), text.size() * sizeof(typename String::value_type));
  text.clear();
}

}  // namespace

void WipeText(Text& text) { WipeString(text); }

void WipeBytes(std::string& bytes) { WipeString(bytes); }
