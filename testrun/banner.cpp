#include "testrun/banner.h"

Text Banner(const Text& name, int hyphens, const Text& edge) {
  return name + Text(static_cast<size_t>(hyphens), L'-') + edge;
}
