#include "panels/measuregrid.h"

#include "render/glyphline.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace vorlac
{

namespace
{

constexpr int kSpacing = 3;       // between columns
constexpr int kTitleMinimum = 64; // the titles' column
constexpr int kLineMinimum = 52;  // a line's column
constexpr int kLastNoteRow = 7;   // D: a note stands over the angles, not the limits

void announce(QObject *cell)
{
    if (QAccessible::isActive()) {
        QAccessibleEvent e(cell, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&e);
    }
}

} // namespace

MeasureGrid::MeasureGrid(const std::array<Title, kRows> &titles, QWidget *parent) : QWidget(parent), m_titles(titles)
{
    setObjectName(QStringLiteral("MesureValeurs"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    for (int r = 0; r < kRows; ++r) {
        m_texts[index(r, 0)] = titles[std::size_t(r)].text;
        for (int c = 0; c < kColumns; ++c) {
            auto *cell = new MeasureCell(r, c, this);
            if (c > 0)
                cell->setObjectName(QStringLiteral("Mesure%1_%2").arg(c).arg(r + 1));
            m_cells[index(r, c)] = cell;
        }
    }
    QFont small = font();
    if (small.pixelSize() > 0)
        small.setPixelSize(small.pixelSize() - 1);
    else
        small.setPointSizeF(small.pointSizeF() - 1);
    for (int l = 0; l < kLines; ++l) {
        auto *note = new QLabel(this);
        note->setObjectName(QStringLiteral("MesureNote%1").arg(l + 1));
        note->setAlignment(Qt::AlignCenter);
        note->setWordWrap(true);
        note->setFont(small);
        QPalette pal = note->palette();
        pal.setColor(QPalette::WindowText, QColor(160, 0, 0));
        note->setPalette(pal);
        note->hide();
        m_notes[std::size_t(l)].label = note;
    }
    measure();
}

void MeasureGrid::measure()
{
    // Numbers only: no shaping, which would cost more than drawing them.
    m_regular = font();
    m_regular.setStyleStrategy(QFont::PreferNoShaping);
    m_bold = m_regular;
    m_bold.setBold(true);
    m_rawRegular = QRawFont::fromFont(m_regular);
    m_rawBold = QRawFont::fromFont(m_bold);
    const QFontMetrics regular(m_regular), bold(m_bold);
    m_rowHeight = std::max(regular.height(), bold.height());
    m_titleWidth = kTitleMinimum;
    for (const Title &t : m_titles)
        m_titleWidth = std::max(m_titleWidth, bold.horizontalAdvance(t.text));
    updateGeometry();
    placeNotes();
    update();
}

QSize MeasureGrid::sizeHint() const
{
    return {m_titleWidth + kLines * (kSpacing + kLineMinimum), kRows * m_rowHeight};
}

QRect MeasureGrid::cellRect(int row, int column) const
{
    if (column == 0)
        return {0, row * m_rowHeight, m_titleWidth, m_rowHeight};
    // The lines share the width the titles leave, the first ones taking the odd pixels.
    const int room = std::max(0, width() - m_titleWidth - kLines * kSpacing);
    const int each = room / kLines, odd = room % kLines;
    const int k = column - 1;
    const int left = m_titleWidth + column * kSpacing + k * each + std::min(k, odd);
    return {left, row * m_rowHeight, each + (k < odd ? 1 : 0), m_rowHeight};
}

void MeasureGrid::setLine(int line, const std::array<const QString *, kRows> &texts)
{
    QRect changed;
    for (int r = 0; r < kRows; ++r) {
        QString &shown = m_texts[index(r, line + 1)];
        if (shown == *texts[std::size_t(r)])
            continue;
        shown = *texts[std::size_t(r)];
        changed |= cellRect(r, line + 1);
        announce(cell(r, line + 1));
    }
    if (!changed.isEmpty())
        update(changed);
}

void MeasureGrid::clearLine(int line)
{
    static const QString empty;
    std::array<const QString *, kRows> texts;
    texts.fill(&empty);
    setLine(line, texts);
    placeNote(line, -1, QString());
}

void MeasureGrid::placeNote(int line, int fromRow, const QString &text)
{
    Note &n = m_notes[std::size_t(line)];
    n.label->setText(text);
    if (fromRow == n.fromRow)
        return;
    n.fromRow = fromRow;
    placeNotes();
    n.label->setVisible(fromRow >= 0);
}

void MeasureGrid::placeNotes()
{
    for (int l = 0; l < kLines; ++l) {
        const Note &n = m_notes[std::size_t(l)];
        if (n.fromRow >= 0)
            n.label->setGeometry(cellRect(n.fromRow, l + 1) | cellRect(kLastNoteRow, l + 1));
    }
}

void MeasureGrid::paintEvent(QPaintEvent *e)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    const QRect dirty = e->rect();
    for (const bool heavy : {true, false}) {
        p.setFont(heavy ? m_bold : m_regular);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                const QString &t = text(r, c);
                const QRect at = cellRect(r, c);
                if (bold(r, c) == heavy && !t.isEmpty() && at.intersects(dirty))
                    drawCell(p, at, t, heavy, c == 0);
            }
    }
}

void MeasureGrid::drawCell(QPainter &p, const QRect &at, const QString &text, bool heavy, bool left) const
{
    // A text layout for each of some twenty values at every lamp step costs more than their pixels.
    const Qt::Alignment align = (left ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
    if (!drawGlyphLine(p, heavy ? m_rawBold : m_rawRegular, QRectF(at), align, text))
        p.drawText(at, align, text);
}

bool MeasureGrid::event(QEvent *e)
{
    if (e->type() == QEvent::ToolTip) {
        const QPoint at = static_cast<QHelpEvent *>(e)->pos();
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c)
                if (const QRect cell = cellRect(r, c); cell.contains(at)) {
                    QToolTip::showText(static_cast<QHelpEvent *>(e)->globalPos(), tip(r), this, cell);
                    return true;
                }
        // Between the cells: the panel's own tip.
    }
    return QWidget::event(e);
}

void MeasureGrid::resizeEvent(QResizeEvent *)
{
    placeNotes();
}

void MeasureGrid::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::FontChange)
        measure();
    QWidget::changeEvent(e);
}

} // namespace vorlac
