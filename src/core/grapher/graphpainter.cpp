#include "grapher/graphpainter.h"

#include "common/rounding.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace vorlac
{

namespace
{

constexpr int kDotOn = 3;
constexpr int kDotPeriod = 6;

// Offset along the minor axis at step i of n for a total offset d (|d| <= n): nearest, ties
// away from the start.
int minorOffset(int i, int d, int n)
{
    const long long num = 2LL * i * std::abs(d) + n;
    const int off = static_cast<int>(num / (2LL * n));
    return d < 0 ? -off : off;
}

void paintBoxesAndTexts(QPainter &painter, const GraphPicture &graph)
{
    for (const GraphBox &box : graph.boxes) {
        painter.fillRect(box.rect, QColor::fromRgb(graphcolour::White));
        painter.setPen(QPen(QColor::fromRgb(box.border), 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.rect.adjusted(0, 0, -1, -1));
    }
    for (const GraphText &t : graph.texts) {
        const QFont font = graphFont(t.pointSize);
        const QFontMetricsF metrics(font);
        const double left = t.fromLeft ? t.xOffset : (kGraphSize - metrics.horizontalAdvance(t.text)) / 2.0 + t.xOffset;
        painter.setFont(font);
        painter.setPen(QColor::fromRgb(t.colour));
        painter.drawText(QPointF(roundHalfEven(left), t.top + metrics.ascent()), t.text);
    }
}

// The lines, the points and the curve, pixel by pixel, in drawing order.
template <class Fill> void paintPixels(const GraphPicture &graph, Fill fill)
{
    for (const GraphLine &line : graph.lines) {
        const QColor colour = QColor::fromRgb(line.colour);
        for (const QRect &r : graphLineSpans(line))
            fill(r, colour);
    }
    const QColor red = QColor::fromRgb(graphcolour::Red);
    for (const QPoint &p : graph.pixels)
        fill(QRect(p, QSize(1, 1)), red);
    for (const GraphLine &line : graph.curve) {
        const QColor colour = QColor::fromRgb(line.colour);
        for (const QRect &r : graphLineSpans(line))
            fill(r, colour);
    }
}

// One side of a plot pixel run in device pixels: a run's ends go to the nearest device edge, so
// runs still meet; a side one pixel thick becomes `thickness` device pixels wherever it lies.
std::pair<int, int> deviceSide(int start, int size, qreal ratio, int thickness)
{
    const int from = static_cast<int>(std::lround(start * ratio));
    if (size == 1)
        return {from, thickness};
    return {from, static_cast<int>(std::lround((start + size) * ratio)) - from};
}

} // namespace

std::vector<QRect> graphLineSpans(const GraphLine &line)
{
    std::vector<QRect> spans;
    const int dx = line.to.x() - line.from.x();
    const int dy = line.to.y() - line.from.y();
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int n = xMajor ? std::abs(dx) : std::abs(dy);
    const int step = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int d = xMajor ? dy : dx;
    // Pixels are gathered in runs along the major axis while the minor coordinate holds.
    int runStart = 0, runEnd = 0, runMinor = 0;
    auto flush = [&] {
        const int a = std::min(runStart, runEnd), b = std::max(runStart, runEnd);
        spans.push_back(xMajor ? QRect(a, runMinor, b - a + 1, 1) : QRect(runMinor, a, 1, b - a + 1));
    };
    bool open = false;
    for (int i = 0; i < n; ++i) {
        const bool on = !line.dotted || i % kDotPeriod < kDotOn;
        const int major = (xMajor ? line.from.x() : line.from.y()) + i * step;
        const int minor = (xMajor ? line.from.y() : line.from.x()) + minorOffset(i, d, n);
        if (!on) {
            if (open)
                flush();
            open = false;
            continue;
        }
        if (open && minor == runMinor) {
            runEnd = major;
            continue;
        }
        if (open)
            flush();
        runStart = runEnd = major;
        runMinor = minor;
        open = true;
    }
    if (open)
        flush();
    return spans;
}

QFont graphFont(int pointSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(static_cast<int>(roundHalfEven(pointSize * 96.0 / 72.0)));
    return font;
}

void PaintGraph(QPainter &painter, const GraphPicture &graph)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(0, 0, kGraphSize, kGraphSize), QColor::fromRgb(graphcolour::White));
    paintPixels(graph, [&painter](const QRect &r, const QColor &c) { painter.fillRect(r, c); });
    paintBoxesAndTexts(painter, graph);
    painter.restore();
}

void PaintGraphVector(QPainter &painter, const GraphPicture &graph)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(0, 0, kGraphSize, kGraphSize), QColor::fromRgb(graphcolour::White));
    // Through pixel centres, one pixel wide: the lines cover the pixels the picture lights.
    const auto draw = [&painter](const GraphLine &line) {
        QPen pen(QColor::fromRgb(line.colour), 1.0, Qt::SolidLine, Qt::FlatCap);
        if (line.dotted)
            pen.setDashPattern({double(kDotOn), double(kDotPeriod - kDotOn)});
        painter.setPen(pen);
        const QPointF half(0.5, 0.5);
        painter.drawLine(QPointF(line.from) + half, QPointF(line.to) + half);
    };
    for (const GraphLine &line : graph.lines)
        draw(line);
    const QColor red = QColor::fromRgb(graphcolour::Red);
    for (const QPoint &p : graph.pixels)
        painter.fillRect(QRect(p, QSize(1, 1)), red);
    if (!graph.curve.empty()) {
        // One path, so that the curve is one smooth polyline in the file.
        QPainterPath path;
        QPoint last(-1, -1);
        for (const GraphLine &line : graph.curve) {
            if (line.from != last)
                path.moveTo(QPointF(line.from) + QPointF(0.5, 0.5));
            path.lineTo(QPointF(line.to) + QPointF(0.5, 0.5));
            last = line.to;
        }
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.strokePath(path, QPen(QColor::fromRgb(graphcolour::DarkGreen), 1.2));
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    paintBoxesAndTexts(painter, graph);
    painter.restore();
}

QImage GraphImage(const GraphPicture &graph)
{
    QImage image(kGraphSize, kGraphSize, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780); // 96 dpi
    image.setDotsPerMeterY(3780);
    QPainter painter(&image);
    PaintGraph(painter, graph);
    painter.end();
    return image;
}

QImage GraphImage(const GraphPicture &graph, qreal devicePixelRatio)
{
    if (!(devicePixelRatio > 1.0) || devicePixelRatio > 8.0)
        return GraphImage(graph);
    const int side = qCeil(kGraphSize * devicePixelRatio);
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(graphcolour::White);
    // The pixels in device pixels first: a scaled painter would make a one-pixel line one or two
    // device pixels thick by turns at a ratio such as 1.5.
    const int thickness = std::max(1, static_cast<int>(std::lround(devicePixelRatio)));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    paintPixels(graph, [&](const QRect &r, const QColor &c) {
        const auto [x, w] = deviceSide(r.x(), r.width(), devicePixelRatio, thickness);
        const auto [y, h] = deviceSide(r.y(), r.height(), devicePixelRatio, thickness);
        painter.fillRect(QRect(x, y, w, h), c);
    });
    painter.end();
    // The boxes and texts at the screen's resolution.
    image.setDevicePixelRatio(devicePixelRatio);
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    paintBoxesAndTexts(painter, graph);
    painter.end();
    return image;
}

} // namespace vorlac
