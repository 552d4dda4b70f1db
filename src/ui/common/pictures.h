#pragma once

#include <QCursor>
#include <QPixmap>
#include <QString>

namespace vorlac
{

// The program's pictures, rendered from the SVG resources at their size on screen.
QPixmap svgPicture(const QString &name, QSize size, qreal devicePixelRatio = 1.0);

// A custom pointer from an SVG resource; its hot spot is read from the file's
// "<!-- hotspot: X Y -->" header.
QCursor svgCursor(const QString &name);

// The 159 x 31 strip of the spectrum from 400 nm (left) to 800 nm (right), with one wavelength
// per device pixel column at the given ratio (its logical size stays size).
QPixmap spectrumStrip(QSize size = QSize(159, 31), qreal devicePixelRatio = 1.0);
// The same strip for a lamp: black, with each line (a row of lineLamps()) at its place in its
// colour and brightness.
QPixmap lampSpectrumStrip(int lamp, QSize size = QSize(159, 31), qreal devicePixelRatio = 1.0);

// The lamp that the pupil drags (32 x 32 logical pixels).
QPixmap lampPicture(qreal devicePixelRatio = 1.0);

} // namespace vorlac
