#include "model/lampgeometry.h"

#include "model/constants.h"

#include <cmath>

namespace vorlac
{

double lampDirection(double x, double y, int incidencePointX)
{
    const double mx = incidencePointX;
    if (x == mx)
        return y < kIncidenceY ? -90.0 : 90.0;
    // Degrees through the program's pi (kPi), like every other angle of the scene.
    double ang = std::atan((y - kIncidenceY) / (mx - x)) * 180 / kPi;
    if (x > mx)
        ang += y > kIncidenceY ? 180.0 : -180.0;
    return ang;
}

std::optional<double> lampIncidence(double x, double y, int incidencePointX, int apexAngle, double currentIncidence)
{
    const double candidate = lampDirection(x, y, incidencePointX) + apexAngle / 2.0;
    if (candidate > currentIncidence + kLampStep || candidate < currentIncidence - kLampStep ||
        candidate > kLampIncidenceLimit || candidate < -kLampIncidenceLimit)
        return std::nullopt;
    return candidate;
}

} // namespace vorlac
