#include "table/valuegrid.h"

#include "table/celldelegate.h"
#include "table/titleheader.h"
#include "table/valuetable.h"
#include "table/valuetablemodel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace vorlac
{

namespace
{

// The pointer over the titles: a thick downward arrow, "this column".
QCursor columnCursor()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(12, 2);
    arrow.lineTo(20, 2);
    arrow.lineTo(20, 14);
    arrow.lineTo(26, 14);
    arrow.lineTo(16, 28);
    arrow.lineTo(6, 14);
    arrow.lineTo(12, 14);
    arrow.closeSubpath();
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(Qt::black);
    p.drawPath(arrow);
    p.end();
    return QCursor(pm, 16, 28);
}

bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

QString ValueGrid::dataHint()
{
    return QStringLiteral("Cliquer sur une cellule pour l'activer et saisir une valeur.");
}

QString ValueGrid::headerHint()
{
    return QStringLiteral("Cliquer sur la première cellule d'une colonne pour calculer, effacer, nommer ou classer.");
}

ValueGrid::ValueGrid(ValueTable &table, QWidget *parent)
    : QTableView(parent), m_table(table), m_model(new ValueTableModel(table, this))
{
    setObjectName(QStringLiteral("MSFlexGrid1"));
    setHorizontalHeader(new TitleHeader(this));
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setItemDelegate(new CellDelegate(this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // the 7 columns fit the frame
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    QHeaderView *header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(kColumnWidth);
    header->setDefaultSectionSize(kColumnWidth);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setFixedHeight(kRowHeight + 2);
    header->setCursor(columnCursor());
    header->viewport()->setMouseTracking(true);
    header->viewport()->installEventFilter(this);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);

    connect(&m_table, &ValueTable::activeCellChanged, this, [this] { showActiveCell(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { showActiveCell(); });
    showActiveCell();
}

QRect ValueGrid::cellRect(int row, int col) const
{
    if (row <= 0) {
        const QHeaderView *header = horizontalHeader();
        return QRect(header->sectionViewportPosition(col), 0, header->sectionSize(col), header->height());
    }
    return visualRect(m_model->index(row - 1, col));
}

void ValueGrid::showActiveCell()
{
    const QModelIndex index = m_model->index(m_table.Row() - 1, m_table.Col());
    m_syncing = true;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_syncing = false;
    scrollTo(index);
}

void ValueGrid::selectActiveColumn()
{
    const int col = m_table.Col();
    const QItemSelection column(m_model->index(0, col), m_model->index(m_model->rowCount() - 1, col));
    selectionModel()->select(column, QItemSelectionModel::ClearAndSelect);
}

void ValueGrid::requestColumnMenuByKey()
{
    const int col = m_table.Col();
    selectActiveColumn();
    const QHeaderView *header = horizontalHeader();
    const QPoint below(std::max(0, header->sectionViewportPosition(col)), header->height());
    emit columnMenuRequested(col, header->viewport()->mapToGlobal(below));
}

void ValueGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || !current.isValid())
        return;
    // Leaving a cell converts it (the table does it when the active cell moves).
    m_table.setActiveCell(current.row() + 1, current.column());
}

void ValueGrid::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Delete) {
        event->accept(); // acts on release
        return;
    }
    // The keyboard's way to the column commands: the menu of the active column, under its title.
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if ((key == Qt::Key_Menu && mods == Qt::NoModifier) || (key == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
        event->accept();
        requestColumnMenuByKey();
        return;
    }
    // Enter moves to the cell below, as in a spreadsheet; on the last line it converts the cell.
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && mods == Qt::NoModifier) {
        if (m_table.Row() + 1 < m_table.Rows())
            m_table.setActiveCell(m_table.Row() + 1, m_table.Col());
        else
            m_table.commitActiveCell();
        event->accept();
        return;
    }
    if (key == Qt::Key_Backspace) {
        m_table.typeCharacter(QChar(8));
        event->accept();
        return;
    }
    if (isNavigationKey(key) && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // Moving with the keys keeps a single cell selected.
        QTableView::keyPressEvent(event);
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        m_table.typeCharacter(text.at(0));
        scrollTo(currentIndex());
        event->accept();
        return;
    }
    event->ignore();
}

void ValueGrid::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && !event->isAutoRepeat()) {
        m_table.deleteActiveText();
        event->accept();
        return;
    }
    QTableView::keyReleaseEvent(event);
}

void ValueGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        QTableView::mousePressEvent(event);
        // A press beside the cells keeps the active cell (and its single selection).
        if (!indexAt(event->position().toPoint()).isValid())
            showActiveCell();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    event->accept();
}

void ValueGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event); // no editing on a double click
}

void ValueGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit tableMenuRequested(event->globalPosition().toPoint());
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void ValueGrid::mouseMoveEvent(QMouseEvent *event)
{
    // No drag selection: the grid has one active cell.
    event->accept();
    emit hintChanged(dataHint());
    emit pointerMoved();
}

bool ValueGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != horizontalHeader()->viewport())
        return QTableView::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        emit hintChanged(headerHint());
        emit pointerMoved();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        setFocus(Qt::MouseFocusReason);
        return true;
    case QEvent::MouseButtonRelease: {
        const auto *me = static_cast<QMouseEvent *>(event);
        const QPoint pos = me->position().toPoint();
        const int col = horizontalHeader()->logicalIndexAt(pos.x());
        if (pos.y() > 0 && pos.y() < horizontalHeader()->height() && col >= 0) {
            m_table.setActiveCell(m_table.Row(), col);
            selectActiveColumn();
            emit columnMenuRequested(col, me->globalPosition().toPoint());
        }
        return true;
    }
    default:
        return QTableView::eventFilter(watched, event);
    }
}

} // namespace vorlac
