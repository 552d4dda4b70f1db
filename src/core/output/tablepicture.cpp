#include "output/tablepicture.h"

#include "model/colour.h"
#include "table/valuetable.h"

#include <QPainter>

namespace vorlac
{

namespace
{
constexpr int kTwipsPerPixel = 15;
constexpr int kTextMargin = 2;
} // namespace

QImage tablePicture(const ValueTable &table, const TableGridMetrics &grid)
{
    const int columns = ValueTable::Cols();
    const int rows = table.Rows();
    const int w = std::max(1, grid.columnWidthTwips / kTwipsPerPixel);
    const int h = std::max(1, grid.rowHeightTwips / kTwipsPerPixel);
    QImage image(columns * w + 1, rows * h + 1, QImage::Format_RGB32);
    image.fill(Qt::white);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.fillRect(QRect(0, 0, image.width(), h), QColor(toQRgb(palette::LightGrey)));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    p.setFont(font);

    p.setPen(QPen(QColor(toQRgb(palette::DarkGrey)), 0));
    for (int c = 0; c <= columns; ++c)
        p.drawLine(c * w, 0, c * w, rows * h);
    for (int r = 0; r <= rows; ++r)
        p.drawLine(0, r * h, columns * w, r * h);

    p.setPen(Qt::black);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QString text = table.TextMatrix(r, c);
            if (text.isEmpty())
                continue;
            const QRect cell(c * w + kTextMargin, r * h + 1, w - 2 * kTextMargin, h - 1);
            p.drawText(cell, (r == 0 ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter, text);
        }
    }
    return image;
}

QString tableText(const ValueTable &table)
{
    QString text;
    const int rows = table.Rows();
    for (int r = 0; r < rows; ++r) {
        if (r > 0)
            text += QLatin1Char('\n');
        for (int c = 0; c < ValueTable::Cols(); ++c) {
            if (c > 0)
                text += QLatin1Char('\t');
            text += table.TextMatrix(r, c);
        }
    }
    return text;
}

} // namespace vorlac
