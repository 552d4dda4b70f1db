#pragma once

#include <optional>

namespace vorlac
{

// How far one mouse event may move the lamp, in degrees of incidence: a faster movement is
// taken for a slip and ignored.
inline constexpr double kLampStep = 15.0;
// The lamp cannot be dragged past the plane of the entry face on either side.
inline constexpr double kLampIncidenceLimit = 90.0;

// Direction the light comes from when the mouse stands at (x, y) in scene pixels, towards the
// incidence point M = (incidencePointX, kIncidenceY): degrees, anticlockwise, y upwards.
double lampDirection(double x, double y, int incidencePointX);

// The incidence a lamp drag to (x, y) asks for, or nothing when the move is refused: more than
// kLampStep away from the current incidence, or beyond kLampIncidenceLimit (strict limits).
std::optional<double> lampIncidence(double x, double y, int incidencePointX, int apexAngle, double currentIncidence);

} // namespace vorlac
