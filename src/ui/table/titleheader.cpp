#include "table/titleheader.h"

#include <QHelpEvent>
#include <QStyleOptionHeader>
#include <QToolTip>

namespace vorlac
{

TitleHeader::TitleHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

QString TitleHeader::shownTitle(int logicalIndex) const
{
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    return option.text;
}

bool TitleHeader::viewportEvent(QEvent *e)
{
    if (e->type() != QEvent::ToolTip || !model())
        return QHeaderView::viewportEvent(e);
    const auto *help = static_cast<QHelpEvent *>(e);
    const int section = logicalIndexAt(help->pos());
    const QString title = section < 0 ? QString() : model()->headerData(section, orientation()).toString();
    if (!title.isEmpty() && shownTitle(section) != title)
        QToolTip::showText(help->globalPos(), title, viewport(),
                           QRect(sectionViewportPosition(section), 0, sectionSize(section), height()));
    else
        QToolTip::hideText();
    return true;
}

void TitleHeader::initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const
{
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    // The section's rectangle is set only after this; the label's room is measured on its size.
    QStyleOptionHeader section = *option;
    section.rect = QRect(0, 0, sectionSize(logicalIndex), height());
    const int room = style()->subElementRect(QStyle::SE_HeaderLabel, &section, this).width() - 4;
    option->text = option->fontMetrics.elidedText(option->text, Qt::ElideRight, room);
}

} // namespace vorlac
