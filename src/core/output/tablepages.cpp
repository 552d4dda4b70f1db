#include "output/tablepages.h"

#include "table/valuetable.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace vorlac
{

namespace
{

double twipsToDevice(double twips, double dpi)
{
    return twips * dpi / 1440.0;
}

QFont tableFont(double points)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(points);
    return f;
}

// Draws the page header; returns the top of the first row below it.
double paintHeader(QPainter &painter, const PageMetrics &page, int pageNumber)
{
    const QFont font = tableFont(24);
    const QFontMetricsF fm(font, painter.device());
    const QString title = tablePageTitle(pageNumber);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const double y = page.height / 20;
    painter.drawText(QPointF((page.width - fm.horizontalAdvance(title)) / 2, y + fm.ascent()), title);
    return std::nearbyint(y + 2 * fm.height());
}

} // namespace

QString tablePageTitle(int page)
{
    return page <= 1 ? QStringLiteral("Vorlac") : QStringLiteral("Vorlac ( %1 )").arg(page);
}

QString fitCellText(const QString &text, const std::function<bool(const QString &)> &fits)
{
    QString t = text;
    while (!t.isEmpty() && !fits(t))
        t.chop(1);
    return t;
}

bool paintTablePages(QPainter &painter, const PageMetrics &page, const ValueTable &table, const TableGridMetrics &grid,
                     const std::function<bool()> &newPage, TablePrintLayout *layout)
{
    const double w = twipsToDevice(grid.columnWidthTwips, page.dpiX);
    const double rowHeight = twipsToDevice(grid.rowHeightTwips, page.dpiY);
    const int columns = ValueTable::Cols();
    const double left = std::nearbyint((page.width - columns * w) / 2);
    const QFont body = tableFont(10);
    const QFontMetricsF fm(body, painter.device());
    // One printer pixel is one device pixel here: the frame reaches 2 beyond the cell's left and
    // top edges and 1 beyond its right and bottom edges; texts keep 2 from the right edge.
    QPen framePen(Qt::black, 2);
    framePen.setCosmetic(true);
    framePen.setJoinStyle(Qt::MiterJoin);

    painter.save();
    int pageNumber = 1;
    double top = paintHeader(painter, page, pageNumber);
    if (layout) {
        *layout = {};
        layout->columnWidth = w;
        layout->rowHeight = rowHeight;
        layout->left = left;
        layout->firstRowOfPage.push_back(0);
    }
    const int rows = table.Rows();
    for (int r = 0; r < rows; ++r) {
        if (layout)
            layout->rowTops.push_back(top);
        painter.setFont(body);
        for (int c = 0; c < columns; ++c) {
            const double x = left + c * w;
            painter.setPen(framePen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(QPointF(x - 2, top - 2), QPointF(x + w + 1, top + rowHeight + 1)));
            painter.setPen(Qt::black);
            const QString text = fitCellText(table.TextMatrix(r, c).trimmed(),
                                             [&](const QString &t) { return fm.horizontalAdvance(t) <= w; });
            if (text.isEmpty())
                continue;
            const double tw = fm.horizontalAdvance(text);
            const double tx = r == 0 ? x + (w - tw) / 2 : x + w - 2 - tw;
            const double ty = top + (rowHeight - fm.height()) / 2 + fm.ascent();
            painter.drawText(QPointF(tx, ty), text);
        }
        top += rowHeight;
        if (top > 0.9 * page.height && r + 1 < rows) {
            if (!newPage()) {
                painter.restore();
                return false;
            }
            ++pageNumber;
            top = paintHeader(painter, page, pageNumber);
            if (layout)
                layout->firstRowOfPage.push_back(r + 1);
        }
    }
    if (layout)
        layout->pages = pageNumber;
    painter.restore();
    return true;
}

bool paintTableCopies(QPainter &painter, const PageMetrics &page, const ValueTable &table, const TableGridMetrics &grid,
                      int copies, const std::function<bool()> &newPage)
{
    for (int copy = 1; copy <= copies; ++copy) {
        if (!paintTablePages(painter, page, table, grid, newPage))
            return false;
        if (copy < copies && !newPage())
            return false;
    }
    return true;
}

} // namespace vorlac
