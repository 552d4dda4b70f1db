#include "model/lampgeometry.h"

#include "model/constants.h"

#include <algorithm>
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

std::optional<double> lampKeyStep(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers others = modifiers & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (others != Qt::NoModifier)
        return std::nullopt;
    const double arrow = (modifiers & Qt::ShiftModifier) ? kLampFineKeyStep : kLampKeyStep;
    switch (key) {
    case Qt::Key_Right:
        return arrow;
    case Qt::Key_Left:
        return -arrow;
    case Qt::Key_PageUp:
        return kLampPageKeyStep;
    case Qt::Key_PageDown:
        return -kLampPageKeyStep;
    default:
        return std::nullopt;
    }
}

double lampKeyIncidence(double current, double step)
{
    if (!std::isfinite(current))
        current = 0.0;
    // Tenths added again and again would read 36,099999...; whole millionths are plenty.
    const double next = std::round((current + step) * 1.0e6) / 1.0e6;
    return std::clamp(next, -kLampIncidenceLimit, kLampIncidenceLimit);
}

} // namespace vorlac
