#include "util/Rounding.h"

#include <cmath>

namespace zelvora {

std::int64_t RoundHalfAway(double x) {
  const double whole = std::trunc(x);
  const double fraction = x - whole;
  auto result = static_cast<std::int64_t>(whole);
  if (std::fabs(fraction) >= 0.5) result += (x > 0) ? 1 : -1;
  return result;
}

}  // namespace zelvora
