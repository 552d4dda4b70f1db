#pragma once

#include "model/constants.h"
#include "spectra/screen.h"

#include <QRectF>

namespace vorlac
{

// The screen as the scene draws it, for the mouse: where it is drawn (moved back with its break)
// and the handle that turns it, on the drawn line inside the picture.
struct DrawnScreen {
    ScreenFrame frame; // where it truly stands
    PointD shift;      // from where it stands to where it is drawn
    PointD centre;     // drawn
    PointD handle;     // drawn
};
// shown: the part of the scene the frame shows (scene pixels), where the handle must be.
DrawnScreen drawnScreen(const ScreenLayer &layer, const QRectF &shown = QRectF(0, 0, kSceneWidth, kSceneHeight));

// The handle stands this far from the drawn centre (or at the screen's end when nearer), towards
// the screen's upper end; nearer the centre, or towards the lower end, when that lies outside
// what the frame shows; at the centre when neither side has room.
inline constexpr double kScreenHandleReachPx = 60.0;
// Scene pixels: how near the pointer must be to the handle's centre, and to the drawn line.
inline constexpr double kScreenHandleRadiusPx = 6.0;
inline constexpr double kScreenGripPx = 5.0;

enum class ScreenGrip { None, Screen, Handle };
// What the pointer (scene pixels) is over: the handle before the line; nothing outside the picture.
// The reaches are window pixels at scale window pixels per scene pixel (a zoomed view).
ScreenGrip screenGripAt(const DrawnScreen &screen, PointD pointer, double scale = 1.0);

// A broken view leaves no room to drag the screen at the true scale (3 m would be 12 000 pixels):
// past the picture's room the drag goes kScreenBrokenMmPerPx per pixel along the beam.
inline constexpr double kScreenBrokenMmPerPx = 10.0;
// The distance after dragging the screen from `from` to `to` (scene pixels) from startMm: the
// move along the beam at the true scale while the screen stands in the picture (it follows the
// pointer), kScreenBrokenMmPerPx beyond; in whole millimetres, within the limits.
double draggedScreenDistance(const DrawnScreen &screen, double startMm, PointD from, PointD to);
// The turn after dragging the handle from `from` to `to`: the pointer's angle around the drawn
// centre turns the screen as much (anticlockwise as drawn); whole degrees, within the limits.
double draggedScreenTurn(const DrawnScreen &screen, double startDegrees, PointD from, PointD to);

} // namespace vorlac
