#pragma once

#include <QGlyphRun>
#include <QRawFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace vorlac
{

// A line of plain text (a value, a label, a read-out) as the font's glyphs placed by their
// advances: no text layout, which for a few words costs more than their pixels, so no shaping,
// kerning or fallback font.
class GlyphLine
{
  public:
    // False when the font lacks a character: the caller lays the words out instead.
    bool set(const QRawFont &font, const QString &text);
    double width() const { return m_width; }
    // Aligned in box as drawText aligns it, and vertically centred.
    void draw(QPainter &p, const QRectF &box, Qt::Alignment align) const;
    // Whether p may draw glyphs: the raster engine (a PDF or SVG keeps its text as text).
    static bool drawsGlyphs(const QPainter &p);

  private:
    QGlyphRun m_run;
    double m_width = 0;
};

// One GlyphLine drawn at once; false, drawing nothing, where GlyphLine::set or drawsGlyphs
// refuses: the caller then uses drawText.
bool drawGlyphLine(QPainter &p, const QRawFont &font, const QRectF &box, Qt::Alignment align, const QString &text);

} // namespace vorlac
