#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace vorlac
{

// Nearest integer, halves to the even neighbour (the rounding of every real-to-integer
// conversion in the program). Relies on the default FE_TONEAREST mode.
inline double roundHalfEven(double v)
{
    return std::nearbyint(v);
}

// Real to 16-bit integer, halves to even. Values outside the 16-bit range saturate instead of
// overflowing (NaN gives 0), so no caller can hit undefined behaviour.
inline std::int16_t toInt16(double v)
{
    if (std::isnan(v))
        return 0;
    const double r = std::nearbyint(v);
    if (r >= 32767.0)
        return 32767;
    if (r <= -32768.0)
        return -32768;
    return static_cast<std::int16_t>(r);
}

// Real to a colour component 0..255, halves to even.
inline int toByte(double v)
{
    if (std::isnan(v))
        return 0;
    const double r = std::nearbyint(v);
    return r < 0 ? 0 : (r > 255 ? 255 : static_cast<int>(r));
}

} // namespace vorlac
