#pragma once
#include <cstdint>

namespace zelvora {

// Nearest integer, halves away from zero: 2.5 gives 3, -2.5 gives -3.
std::int64_t RoundHalfAway(double x);

}  // namespace zelvora
