#include "table/titleheader.h"

#include <QStyleOptionHeader>

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
