#include "render/sceneoverlays.h"

#include "common/rounding.h"
#include "render/scenerenderer.h"

#include <QPaintDevice>
#include <QPainter>

namespace vorlac
{

namespace
{

QPoint pixel(PointD p)
{
    return {toInt16(p.x), toInt16(p.y)};
}

} // namespace

SceneOverlays sceneOverlays(const ScenePicture &picture)
{
    const TraceLayout &l = picture.lastLayout;
    return {QLine(pixel(l.line1Start), pixel(l.line1End)), picture.line1Colour, pixel(l.lampTopLeft)};
}

SceneOverlays sceneOverlays(const SceneFigure &figure)
{
    const TraceLayout &l = figure.layout;
    return {QLine(pixel(l.line1Start), pixel(l.line1End)), figure.line1Colour, pixel(l.lampTopLeft)};
}

void paintSceneOverlays(QPainter &p, const SceneOverlays &overlays, const QImage *lamp, QPoint origin)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    // One logical pixel wide: the one-pixel cosmetic pen at ratio 1, a scaled pen above it.
    const qreal ratio = p.device() ? p.device()->devicePixelRatio() : 1.0;
    p.setPen(QPen(QColor(toQRgb(overlays.line1Colour)), ratio > 1.0 ? 1.0 : 0.0));
    p.drawLine(overlays.line1.translated(-origin));
    if (lamp && !lamp->isNull())
        p.drawImage(overlays.lampTopLeft - origin, *lamp);
    p.restore();
}

} // namespace vorlac
