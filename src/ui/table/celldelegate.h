#pragma once

#include <QStyledItemDelegate>

namespace vorlac
{

// Paints the grid's data cells as a spreadsheet does. A text wider than its cell is never
// shortened with an ellipsis ("123456…" reads as another number): a number shows as "###", and
// the cell being typed into shows the end of its text, where the keys add to it. The tooltip of
// a cut cell gives its whole text.
class CellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The text cell index shows in option's rectangle, and whether its own text is cut there.
    QString shownText(const QStyleOptionViewItem &option, const QModelIndex &index, bool *cut = nullptr) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;
};

} // namespace vorlac
