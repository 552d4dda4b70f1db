#pragma once

#include "model/colour.h"
#include "model/scenestate.h"

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QSizeF>

namespace vorlac
{

struct SceneFigure;
class ViewTrail;

// How a window shows the scene: fitScale window pixels per scene pixel at zoom 1, times zoom,
// with the scene point origin at the window's top-left corner.
struct SceneViewport {
    double fitScale = 1;
    double zoom = 1;
    QPointF origin;
    QPointF fitOrigin; // origin at zoom 1

    double scale() const { return fitScale * zoom; }
    QPointF toScene(QPointF window) const { return origin + window / scale(); }
    QPointF toWindow(QPointF scene) const { return (scene - origin) * scale(); }
    bool zoomed() const { return zoom != 1.0; }
    bool operator==(const SceneViewport &) const = default;
};

inline constexpr double kMinZoom = 1.0;
inline constexpr double kMaxZoom = 20.0;

// The designed view: one scene pixel per window pixel, the picture's corner at the window's.
SceneViewport designedViewport();
// The whole scene as large as the window holds it, centred.
SceneViewport fittedViewport(QSizeF window);

// Zoom by factor (kept within 1x..20x) about the window point `pointer`, which keeps showing the
// same scene point. Back at 1x the view is the fitted one again.
void zoomAbout(SceneViewport &view, QPointF pointer, double factor);
// Moves the scene with the pointer by delta window pixels, while zoomed; the window's centre
// stays over the picture.
void panBy(SceneViewport &view, QPointF delta, QSizeF window);
void resetZoom(SceneViewport &view);

// Which of the screens (their geometries) a projection goes to from the screen own: the first
// that shares no pixel with it, so a span of both or a mirror is not taken; -1 if none.
int projectorScreen(const QList<QRect> &screens, int own);

// The figure's lines drawn for a window of `size` device pixels at the view's scale times ratio,
// rays and normals `rayWidth` device pixels wide, with Line1; the lamp and the marks are the caller's.
// With a trail, target is cleared of only what the trail's last frame drew, and what this one
// draws is recorded in it.
void drawSceneView(const SceneFigure &figure, const SceneViewport &view, double ratio, int rayWidth, QImage &target,
                   ViewTrail *trail = nullptr);

} // namespace vorlac
