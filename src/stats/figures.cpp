// The figures derived from a round's counts, and how they are written.
#include "stats/figures.h"

#include <cstdio>

namespace stats {

std::string OneDecimal(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", v);
  return text;
}

}  // namespace stats
