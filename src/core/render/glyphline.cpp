#include "render/glyphline.h"

#include <QPaintEngine>
#include <QPainter>
#include <cmath>

namespace vorlac
{

bool GlyphLine::set(const QRawFont &font, const QString &text)
{
    if (!font.isValid() || text.isEmpty())
        return false;
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    if (glyphs.size() != text.size() || glyphs.contains(0u))
        return false; // a character outside the font, or one of two code units
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions(glyphs.size());
    m_width = 0;
    for (qsizetype k = 0; k < glyphs.size(); ++k) {
        positions[k] = QPointF(m_width, 0);
        m_width += advances[k].x();
    }
    m_run.setRawFont(font);
    m_run.setGlyphIndexes(glyphs);
    m_run.setPositions(positions);
    return true;
}

void GlyphLine::draw(QPainter &p, const QRectF &box, Qt::Alignment align) const
{
    const QRawFont font = m_run.rawFont();
    const double x = (align & Qt::AlignRight)     ? box.right() - m_width
                     : (align & Qt::AlignHCenter) ? box.left() + (box.width() - m_width) / 2
                                                  : box.left();
    const double baseline = box.top() + (box.height() - font.ascent() - font.descent()) / 2 + font.ascent();
    p.drawGlyphRun(QPointF(x, std::round(baseline)), m_run);
}

bool GlyphLine::drawsGlyphs(const QPainter &p)
{
    return p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster;
}

bool drawGlyphLine(QPainter &p, const QRawFont &font, const QRectF &box, Qt::Alignment align, const QString &text)
{
    GlyphLine line;
    if (!GlyphLine::drawsGlyphs(p) || !line.set(font, text))
        return false;
    line.draw(p, box, align);
    return true;
}

} // namespace vorlac
