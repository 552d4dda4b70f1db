#pragma once

#include "spectra/observedspectrum.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>

class QPainter;

namespace vorlac
{

// How the observed strip's ruler and cursor are drawn, in logical pixels: at the panel's size, or
// thick for a wall (unit is the width of a line; ticks are 3 and 7 units long, 8 units apart at
// least).
struct StripStyle {
    QFont font; // the ruler's labels
    QColor ink; // the ruler and its labels
    double unit = 1.0;
};

// The strip's pixels in one row, devicePixels wide over the stretch fromMm..toMm; black without a
// spectrum.
QImage stripImage(const ScreenSpectrum *spectrum, double fromMm, double toMm, int devicePixels);
// The room the ruler takes under the strip: ticks and labels.
int stripRulerHeight(const StripStyle &style);
// The ruler under the strip: its base line, the ticks, and the labels that fit inside bounds,
// every 2nd, 5th, 10th... when they would run into each other.
void paintStripRuler(QPainter &p, const QRect &strip, const StripRange &range, const StripStyle &style,
                     const QRect &bounds);
// The cursor at window x: marks over the top and bottom quarters of the strip and across the
// ticks, leaving the middle bare where a line under it must still be seen.
void paintStripCursor(QPainter &p, const QRect &strip, double x, double unit);

} // namespace vorlac
