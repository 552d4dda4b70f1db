#include "panels/lamplinelist.h"

#include "analysis/measuretexts.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QScrollBar>

namespace vorlac
{

namespace
{
constexpr int kNoteStart = 3; // column of r, where note column 0 starts
constexpr int kLastAngle = 6; // column of D
} // namespace

LampLineList::LampLineList(QWidget *parent) : QTableWidget(parent)
{
    setObjectName(QStringLiteral("MesureRaies"));
    setAccessibleName(QStringLiteral("Raies de la lampe"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFocusPolicy(Qt::StrongFocus);
    // Tab leaves the list (the arrows move in it), as it leaves every other control.
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(true);
    // The selected line stays as visible when the focus is elsewhere.
    QPalette pal = palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (!m_showing && row >= 0 && row != previous)
            emit lineChosen(row);
    });
}

void LampLineList::setHeaders(const QStringList &titles, const QStringList &tips)
{
    setColumnCount(int(titles.size()));
    for (int c = 0; c < titles.size(); ++c) {
        auto *h = new QTableWidgetItem(titles[c]);
        h->setToolTip(tips.value(c));
        setHorizontalHeaderItem(c, h);
    }
}

QTableWidgetItem *LampLineList::cell(int row, int column)
{
    QTableWidgetItem *it = item(row, column);
    if (!it) {
        it = new QTableWidgetItem;
        it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        it->setToolTip(horizontalHeaderItem(column) ? horizontalHeaderItem(column)->toolTip() : QString());
        setItem(row, column, it);
    }
    return it;
}

void LampLineList::showLines(const SceneState &state, const std::vector<RayMeasures> &rays, std::size_t nearest,
                             const QLocale &locale, int angleDecimals)
{
    const QScopedValueRollback<bool> showing(m_showing, true);
    const int rows = int(rays.size());
    if (rowCount() != rows) {
        clearSpans();
        setRowCount(rows);
    }
    for (int r = 0; r < rows; ++r) {
        const MeasureLineTexts t = measureLineTexts(rays[std::size_t(r)], locale, angleDecimals);
        QTableWidgetItem *head = verticalHeaderItem(r);
        if (!head) {
            head = new QTableWidgetItem;
            setVerticalHeaderItem(r, head);
        }
        head->setToolTip(state.lampHidden
                             ? QStringLiteral("Rang de la raie, de la plus courte longueur d'onde à la plus "
                                              "longue : à trouver, la lampe est inconnue")
                             : QStringLiteral("Longueur d'onde de la raie (nm)"));
        head->setText(lineLabel(state, rays[std::size_t(r)].wavelength, locale));
        const QString *texts[] = {&t.prismIndex, &t.outsideIndex, &t.incidence,     &t.refraction,    &t.exitIncidence,
                                  &t.emergence,  &t.deviation,    &t.criticalAngle, &t.limitIncidence};
        const int from = t.noteColumn >= 0 ? kNoteStart + t.noteColumn : -1;
        if (rowSpan(r, kNoteStart) > 1 || columnSpan(r, kNoteStart) > 1 || columnSpan(r, kNoteStart + 1) > 1 ||
            columnSpan(r, kNoteStart + 2) > 1)
            for (int c = kNoteStart; c <= kLastAngle; ++c)
                setSpan(r, c, 1, 1);
        for (int c = 0; c < columnCount() && c < int(std::size(texts)); ++c) {
            QTableWidgetItem *it = cell(r, c);
            const bool note = c == from;
            it->setText(note ? t.note : *texts[c]);
            it->setForeground(note ? QColor(160, 0, 0) : palette().color(QPalette::Text));
            it->setTextAlignment(note ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
        }
        // A screen reader says the line first, then the values: the whole row on its first cell.
        QStringList said{head->text()};
        for (int c = 0; c < columnCount() && c < int(std::size(texts)); ++c) {
            const QString title = horizontalHeaderItem(c) ? horizontalHeaderItem(c)->text() : QString();
            const QString value = item(r, c)->text();
            if (!value.isEmpty())
                item(r, c)->setData(Qt::AccessibleTextRole,
                                    head->text() + QStringLiteral(", ") + title + QStringLiteral(" ") + value);
            const bool underNote = from >= 0 && c > from && c <= kLastAngle;
            if (!value.isEmpty() && !underNote)
                said.append(c == from ? value : title + QStringLiteral(" ") + value);
        }
        item(r, 0)->setData(Qt::AccessibleTextRole, said.join(QStringLiteral(", ")));
        // The note stands over the quantities the ray does not have.
        if (from >= 0 && kLastAngle > from)
            setSpan(r, from, 1, kLastAngle - from + 1);
    }
    // Columns as wide as their texts, and those under a note wide enough for it.
    resizeColumnsToContents();
    const QFontMetrics fm(font());
    for (int r = 0; r < rows; ++r)
        for (int from = kNoteStart; from <= kLastAngle; ++from)
            if (columnSpan(r, from) > 1) {
                int shown = 0;
                for (int c = from; c <= kLastAngle; ++c)
                    shown += columnWidth(c);
                const int missing = fm.horizontalAdvance(item(r, from)->text()) + 10 - shown;
                for (int c = from; missing > 0 && c <= kLastAngle; ++c)
                    setColumnWidth(c, columnWidth(c) + (missing + kLastAngle - from) / (kLastAngle - from + 1));
            }
    m_nearest = rows > 0 ? int(std::min(nearest, rays.size() - 1)) : -1;
    if (m_nearest >= 0 && currentRow() != m_nearest) {
        setCurrentCell(m_nearest, 0);
        selectRow(m_nearest);
    }
    if (m_nearest >= 0) {
        // Only up or down: a column the pupil scrolled to stays in view.
        const int across = horizontalScrollBar()->value();
        scrollToItem(item(m_nearest, 0), QAbstractItemView::EnsureVisible);
        horizontalScrollBar()->setValue(across);
    }
}

void LampLineList::keyPressEvent(QKeyEvent *event)
{
    // Ctrl+Tab leaves too, as it leaves a text box.
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
        (event->modifiers() & Qt::ControlModifier)) {
        const bool back = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        QWidget::focusNextPrevChild(!back);
        return;
    }
    QTableWidget::keyPressEvent(event);
}

} // namespace vorlac
