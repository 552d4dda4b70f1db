#include "table/celldelegate.h"

#include "table/valuetablemodel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace vorlac
{

namespace
{

QStyle *styleOf(const QStyleOptionViewItem &option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

// The width the style gives the text: the text rectangle less its margins on both sides.
int textRoom(const QStyleOptionViewItem &option)
{
    QStyle *style = styleOf(option);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    return style->subElementRect(QStyle::SE_ItemViewItemText, &option, option.widget).width() - 2 * margin;
}

} // namespace

QString CellDelegate::shownText(const QStyleOptionViewItem &option, const QModelIndex &index, bool *cut) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const int room = textRoom(opt);
    const bool tooWide = opt.fontMetrics.horizontalAdvance(opt.text) > room;
    if (cut)
        *cut = tooWide;
    if (!tooWide || index.data(ValueTableModel::TypingRole).toBool())
        return opt.text;
    const int hash = std::max(1, opt.fontMetrics.horizontalAdvance(QLatin1Char('#')));
    return QString(std::max(1, room / hash), QLatin1Char('#'));
}

void CellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text = shownText(option, index);
    opt.textElideMode = Qt::ElideNone; // right-aligned, a typed text too long shows its end
    styleOf(opt)->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
}

bool CellDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                             const QModelIndex &index)
{
    if (!event || !view || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    bool cut = false;
    shownText(option, index, &cut);
    if (!cut) {
        QToolTip::hideText();
        event->ignore();
        return false;
    }
    QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view, view->visualRect(index));
    return true;
}

} // namespace vorlac
