#include "render/glyphline.h"

#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>

namespace vorlac
{

bool drawGlyphLine(QPainter &p, const QRawFont &font, const QRectF &box, Qt::Alignment align, const QString &text)
{
    if (!font.isValid() || text.isEmpty() || !p.paintEngine() || p.paintEngine()->type() != QPaintEngine::Raster)
        return false;
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    if (glyphs.size() != text.size() || glyphs.contains(0u))
        return false; // a character outside the font, or one of two code units
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions(glyphs.size());
    double width = 0;
    for (qsizetype k = 0; k < glyphs.size(); ++k) {
        positions[k] = QPointF(width, 0);
        width += advances[k].x();
    }
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    const double x = (align & Qt::AlignRight)     ? box.right() - width
                     : (align & Qt::AlignHCenter) ? box.left() + (box.width() - width) / 2
                                                  : box.left();
    const double baseline = box.top() + (box.height() - font.ascent() - font.descent()) / 2 + font.ascent();
    p.drawGlyphRun(QPointF(x, std::round(baseline)), run);
    return true;
}

} // namespace vorlac
