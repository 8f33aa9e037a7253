// π as the method computes with it: 3.14159265358979, fifteen significant digits, which is not the double
// nearest to π. Every formula of the program and every angle it converts use this one value, so that its
// numbers stay those of the method.
#pragma once

namespace velaron {

inline constexpr double kPi = 3.14159265358979;

}  // namespace velaron
