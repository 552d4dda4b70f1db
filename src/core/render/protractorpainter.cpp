#include "render/protractorpainter.h"

#include <QPaintDevice>
#include <QPainterPath>
#include <QtMath>
#include <cstring>
#include <numbers>

namespace vorlac
{

ProtractorColours protractorColours(bool blackBackground)
{
    if (blackBackground)
        return {palette::White, palette::Cyan};
    return {palette::Black, palette::DarkCyan};
}

QImage copyProtractorBackground(const QImage &scene, QPoint position)
{
    const qreal ratio = scene.devicePixelRatio();
    if (ratio != 1.0) {
        // A picture drawn for a screen of another ratio: the same part, in its device pixels.
        const int side = qCeil(protractor::kSize * ratio);
        const QPoint corner(qRound(position.x() * ratio), qRound(position.y() * ratio));
        QImage background = copyProtractorBackground(scene, corner, side);
        background.setDevicePixelRatio(ratio);
        return background;
    }
    return copyProtractorBackground(scene, position, protractor::kSize);
}

QImage copyProtractorBackground(const QImage &scene, QPoint position, int side)
{
    QImage background(side, side, QImage::Format_RGB32);
    const QRect wanted(position, background.size());
    const QRect inside = wanted.intersected(scene.rect());
    if (inside != wanted)
        background.fill(0xffffffffu);
    if (inside.isEmpty())
        return background;
    const int bytes = inside.width() * 4;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const uchar *from = scene.constScanLine(y) + inside.left() * 4;
        uchar *to = background.scanLine(y - position.y()) + (inside.left() - position.x()) * 4;
        std::memcpy(to, from, static_cast<std::size_t>(bytes));
    }
    return background;
}

namespace
{

void paintFigure(QPainter &p, const ProtractorFigure &figure, const ProtractorColours &colours, qreal width)
{
    constexpr double toDegrees = 180.0 / std::numbers::pi;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(toQRgb(colours.main)), width));
    QPainterPath arcs;
    for (const ProtractorArc &a : figure.arcs) {
        const QRectF box(protractor::kCentre - a.radius, protractor::kCentre - a.radius, 2 * a.radius, 2 * a.radius);
        arcs.arcMoveTo(box, a.start * toDegrees);
        arcs.arcTo(box, a.start * toDegrees, (a.end - a.start) * toDegrees);
    }
    p.drawPath(arcs);
    for (const ProtractorLine &l : figure.lines)
        p.drawLine(l.a, l.b);
    p.setPen(QPen(QColor(toQRgb(colours.line)), width));
    p.drawLine(figure.measuringLine.a, figure.measuringLine.b);
}

} // namespace

void paintProtractorFigure(QPainter &p, const ProtractorFigure &figure, const ProtractorColours &colours)
{
    // One logical pixel: the cosmetic one-pixel pen at ratio 1, a scaled pen above it.
    paintFigure(p, figure, colours, p.device() && p.device()->devicePixelRatio() > 1.0 ? 1.0 : 0.0);
}

QTransform protractorToWindow(QPoint position, const SceneViewport &view)
{
    const QPointF shift = QPointF(position) - view.origin;
    return QTransform::fromScale(view.scale(), view.scale()).translate(shift.x(), shift.y());
}

void paintProtractorOnView(QPainter &p, const ProtractorFigure &figure, const ProtractorColours &colours,
                           QPoint position, const SceneViewport &view, double lineWidth)
{
    p.save();
    p.setTransform(protractorToWindow(position, view), true);
    // The pen is scaled with the figure: divided here, it is lineWidth window pixels again.
    paintFigure(p, figure, colours, lineWidth / view.scale());
    p.restore();
}

QImage drawProtractorPicture(const QImage &background, QPoint position, const SceneOverlays &overlays,
                             const QImage *lamp, const ProtractorFigure &figure, const ProtractorColours &colours)
{
    QImage picture = background;
    QPainter p(&picture);
    paintSceneOverlays(p, overlays, lamp, position);
    paintProtractorFigure(p, figure, colours);
    return picture;
}

} // namespace vorlac
