#pragma once

#include <QRawFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace vorlac
{

// Draws a line of plain text (a value, a label) as the font's glyphs placed by their advances,
// aligned in box as drawText would and vertically centred: no text layout, which for a few
// characters costs more than their pixels, so no shaping, kerning or fallback font. Returns false,
// drawing nothing, when the font lacks a character or the painter is not the raster engine (a
// PDF or SVG keeps its text as text): the caller then uses drawText.
bool drawGlyphLine(QPainter &p, const QRawFont &font, const QRectF &box, Qt::Alignment align, const QString &text);

} // namespace vorlac
