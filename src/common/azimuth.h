// The route azimuth as the compass, the pictures and the run use it. The section keeps the azimuth as it
// was typed, a full turn and more included; everything that draws or computes with it takes it modulo
// 360°, so that 400° draws and computes exactly as 40°. An azimuth within 0..360° is used as it is.
#pragma once

#include <cmath>

namespace velaron {

inline double AzimuthWithinTurn(double degrees) {
  if (degrees >= 0 && degrees <= 360) return degrees;
  const double r = std::fmod(degrees, 360.0);  // exact: no rounding, whatever the size
  return r < 0 ? r + 360 : r;
}

}  // namespace velaron
