#include "spectra/screendrag.h"

#include "model/constants.h"
#include "render/scenerenderer.h"

#include <algorithm>
#include <cmath>

namespace vorlac
{

namespace
{

double dot(PointD a, PointD b)
{
    return a.x * b.x + a.y * b.y;
}

PointD minus(PointD a, PointD b)
{
    return {a.x - b.x, a.y - b.y};
}

PointD along(PointD from, PointD direction, double t)
{
    return {from.x + t * direction.x, from.y + t * direction.y};
}

// How deep a point lies inside an area: its distance to the nearest edge, negative outside.
double depthIn(const QRectF &area, PointD p)
{
    return std::min({p.x - area.left(), p.y - area.top(), area.right() - p.x, area.bottom() - p.y});
}

double depthInPicture(PointD p)
{
    return depthIn(QRectF(0, 0, kSceneWidth, kSceneHeight), p);
}

// Pixels along the beam from its origin for a distance, and back: the true scale up to the
// picture's room, kScreenBrokenMmPerPx beyond.
double dragPixels(double distanceMm, double roomPx)
{
    const double px = distanceMm / kMmPerScenePixel;
    return px <= roomPx ? px : roomPx + (distanceMm - roomPx * kMmPerScenePixel) / kScreenBrokenMmPerPx;
}

double dragDistance(double px, double roomPx)
{
    return px <= roomPx ? px * kMmPerScenePixel : roomPx * kMmPerScenePixel + (px - roomPx) * kScreenBrokenMmPerPx;
}

// The pointer's angle around a centre, degrees clockwise as drawn.
double angleAround(PointD centre, PointD p)
{
    return std::atan2(p.y - centre.y, p.x - centre.x) / kDegToRad;
}

} // namespace

DrawnScreen drawnScreen(const ScreenLayer &layer, const QRectF &shown)
{
    DrawnScreen s;
    s.frame = layer.frame;
    if (layer.stop)
        s.shift = layer.stop->stop.shift;
    s.centre = {layer.frame.centre.x + s.shift.x, layer.frame.centre.y + s.shift.y};
    const double reach = std::min(kScreenHandleReachPx, layer.frame.halfWidthMm / kMmPerScenePixel);
    // The upper side first: the frame shows the scene's top, and the handle keeps its side
    // while turned.
    const PointD up = layer.frame.axis.y <= 0.0 ? layer.frame.axis : PointD{-layer.frame.axis.x, -layer.frame.axis.y};
    s.handle = s.centre;
    for (const double side : {1.0, -1.0}) {
        for (double t = reach; t > 0.0; t -= 2.0) {
            const PointD p = along(s.centre, up, side * t);
            if (depthIn(shown, p) >= kScreenHandleRadiusPx) {
                s.handle = p;
                return s;
            }
        }
    }
    return s;
}

ScreenGrip screenGripAt(const DrawnScreen &screen, PointD pointer, double scale)
{
    if (depthInPicture(pointer) < 0.0)
        return ScreenGrip::None;
    const PointD toHandle = minus(pointer, screen.handle);
    if (std::hypot(toHandle.x, toHandle.y) * scale <= kScreenHandleRadiusPx)
        return ScreenGrip::Handle;
    const PointD d = minus(pointer, screen.centre);
    const PointD across{-screen.frame.axis.y, screen.frame.axis.x};
    const double half = screen.frame.halfWidthMm / kMmPerScenePixel;
    if (std::abs(dot(d, screen.frame.axis)) <= half && std::abs(dot(d, across)) * scale <= kScreenGripPx)
        return ScreenGrip::Screen;
    return ScreenGrip::None;
}

double draggedScreenDistance(const DrawnScreen &screen, double startMm, PointD from, PointD to)
{
    const double room = screenRoomPx(screen.frame);
    const double px = dragPixels(startMm, room) + dot(minus(to, from), screen.frame.beam);
    return std::round(std::clamp(dragDistance(px, room), kScreenMinDistanceMm, kScreenMaxDistanceMm));
}

double draggedScreenTurn(const DrawnScreen &screen, double startDegrees, PointD from, PointD to)
{
    double swept = angleAround(screen.centre, to) - angleAround(screen.centre, from);
    swept = std::remainder(swept, 360.0);
    return std::round(std::clamp(startDegrees - swept, -kScreenMaxTurnDegrees, kScreenMaxTurnDegrees));
}

} // namespace vorlac
