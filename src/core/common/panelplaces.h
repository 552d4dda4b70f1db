#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace vorlac
{

// Where a panel of `panel` size goes when asked to be at `wanted` in a window of `window` size:
// moved the least so that it lies wholly inside, its top-left corner first when it cannot.
QPoint keptInside(QPoint wanted, QSize panel, QSize window);

// The measures panel's place when none was remembered: right of the designed window's controls,
// else below them, when the window has room there; else over the exercise text, under the row of
// the "Exercices" tab and the exercise file name.
QPoint defaultMeasurePlace(QSize panel, QSize window);

// The remembered places of the movable panels, one "name=x,y" line each.
std::optional<QPoint> panelPlace(const QByteArray &places, const QByteArray &name);
// places with name's line set to pos (added at the end when missing); other lines as they were.
QByteArray withPanelPlace(const QByteArray &places, const QByteArray &name, QPoint pos);

// Where a window of `size` goes beside `frame` on a screen whose free area is `available`: right of
// the frame when it fits there, else left of it, else over the frame's right edge; always wholly
// on the screen, its top-left corner first when it is larger than the screen.
QPoint besideWindow(QRect frame, QSize size, QRect available);

// Where the small-screen rule puts the main window's frame on a screen of that logical size.
QRect smallScreenFrame(QSize screen);

} // namespace vorlac
