#include "common/titlestrip.h"

#include "common/rounding.h"

#include <QFontMetrics>
#include <QPainter>

namespace vorlac
{

TitleStrip::TitleStrip(const QString &title, QWidget *parent) : QWidget(parent), m_title(title)
{
    setObjectName(QStringLiteral("tito"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TitleStrip::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 128));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(32); // 24 points on a 96-dpi screen
    font.setBold(true);
    p.setFont(font);
    const QFontMetrics metrics(font);
    const int top = (height() - metrics.height()) / 2 - 2;
    const auto n = m_title.size();
    int x = 30;
    for (qsizetype i = 0; i < n; ++i) {
        const int blue = toByte(static_cast<double>(i + 1) / static_cast<double>(n) * 100.0 + 155.0);
        p.setPen(QColor(255, 255, blue));
        const QString ch = m_title.mid(i, 1);
        p.drawText(x, top + metrics.ascent(), ch);
        x += metrics.horizontalAdvance(ch);
    }
}

} // namespace vorlac
