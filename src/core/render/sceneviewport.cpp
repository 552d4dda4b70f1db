#include "render/sceneviewport.h"

#include "model/constants.h"
#include "render/platefill.h"
#include "render/rasteriser.h"
#include "render/scenefigure.h"
#include "render/sceneoverlays.h"
#include "render/viewtrail.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vorlac
{

SceneViewport designedViewport()
{
    return {};
}

SceneViewport fittedViewport(QSizeF window)
{
    SceneViewport v;
    v.fitScale = std::max(1e-3, std::min(window.width() / kSceneWidth, window.height() / kSceneHeight));
    v.fitOrigin = QPointF(kSceneWidth - window.width() / v.fitScale, kSceneHeight - window.height() / v.fitScale) / 2;
    v.origin = v.fitOrigin;
    return v;
}

void zoomAbout(SceneViewport &view, QPointF pointer, double factor)
{
    const double zoom = std::clamp(view.zoom * factor, kMinZoom, kMaxZoom);
    if (zoom == kMinZoom) {
        resetZoom(view);
        return;
    }
    const QPointF under = view.toScene(pointer);
    view.zoom = zoom;
    view.origin = under - pointer / view.scale();
}

void panBy(SceneViewport &view, QPointF delta, QSizeF window)
{
    if (!view.zoomed())
        return;
    view.origin -= delta / view.scale();
    // The window's centre stays over the picture.
    const QPointF half = QPointF(window.width(), window.height()) / (2 * view.scale());
    view.origin.setX(std::clamp(view.origin.x(), -half.x(), kSceneWidth - half.x()));
    view.origin.setY(std::clamp(view.origin.y(), -half.y(), kSceneHeight - half.y()));
}

void resetZoom(SceneViewport &view)
{
    view.zoom = 1;
    view.origin = view.fitOrigin;
}

int projectorScreen(const QList<QRect> &screens, int own)
{
    const QRect ownGeometry = own >= 0 && own < screens.size() ? screens[own] : QRect();
    for (int k = 0; k < screens.size(); ++k)
        if (k != own && !screens[k].intersects(ownGeometry) && !screens[k].isEmpty())
            return k;
    return -1;
}

namespace
{

struct ViewRaster {
    LineRasteriser raster;
    QPointF origin;
    double scale;
    int width;
    ViewTrail *trail;

    void draw(const Segment &s)
    {
        std::int64_t x1 = roundCoord((s.x1 - origin.x()) * scale), y1 = roundCoord((s.y1 - origin.y()) * scale);
        std::int64_t x2 = roundCoord((s.x2 - origin.x()) * scale), y2 = roundCoord((s.y2 - origin.y()) * scale);
        // A wide line grows towards +x or +y from its thin pixels: centre it on them.
        const int back = (width - 1) / 2;
        if (std::abs(x2 - x1) >= std::abs(y2 - y1)) {
            y1 -= back;
            y2 -= back;
        } else {
            x1 -= back;
            x2 -= back;
        }
        raster.drawWideLine(x1, y1, x2, y2, toQRgb(s.colour), s.dashed, width);
        if (trail)
            trail->addRasterLine(x1, y1, x2, y2, width);
    }
};

} // namespace

void drawSceneView(const SceneFigure &figure, const SceneViewport &view, double ratio, int rayWidth, QImage &target,
                   ViewTrail *trail)
{
    const quint32 background = figure.state.blackBackground ? 0xff000000u : 0xffffffffu;
    const double scale = view.scale() * ratio;
    if (trail)
        trail->clear(target, background, std::max(1.0, scale));
    else
        fillImage(target, background);
    const int width = std::clamp(rayWidth, 1, 64);
    ViewRaster v{LineRasteriser(target, std::max(1.0, scale)), view.origin, scale, width, trail};
    v.raster.setMode(figure.state.blackBackground ? PenMode::Merge : PenMode::Blackness);
    forEachFigureSegment(figure, [&v](const Segment &s) { v.draw(s); });

    QPainter p(&target);
    const SceneOverlays o = sceneOverlays(figure);
    const auto at = [&](QPoint s) { return (QPointF(s) - view.origin) * scale; };
    if (trail) {
        trail->setToDevice({});
        trail->addStroke(QLineF(at(o.line1.p1()), at(o.line1.p2())), width);
    }
    if (scale == 1.0 && width == 1 && view.origin == QPointF()) {
        paintSceneOverlays(p, o, nullptr); // exactly the designed view's pixels
        return;
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(toQRgb(o.line1Colour)), width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(at(o.line1.p1()), at(o.line1.p2()));
}

} // namespace vorlac
