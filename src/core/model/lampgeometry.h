#pragma once

#include <optional>
#include <qnamespace.h>

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

// Keyboard steps of the lamp, in degrees of incidence: the arrows 1, with Shift 0.1, the page
// keys 10. Keys never jump further, so the drag's slip rule is not needed.
inline constexpr double kLampKeyStep = 1.0;
inline constexpr double kLampFineKeyStep = 0.1;
inline constexpr double kLampPageKeyStep = 10.0;

// The step a key asks of the lamp (Right and Page Up increase the incidence), or nothing for a
// key the lamp does not take.
std::optional<double> lampKeyStep(int key, Qt::KeyboardModifiers modifiers);

// current + step kept within +-kLampIncidenceLimit, without the drift of repeated tenths.
double lampKeyIncidence(double current, double step);

} // namespace vorlac
