#pragma once

#include <QHeaderView>

namespace vorlac
{

// The grid's title row. A title wider than its column is cut at its end ("= sin i / s…"): the
// style would centre it and cut both sides, which hides how it starts. The columns keep their
// designed width; a cut title shows its whole text in a tooltip.
class TitleHeader : public QHeaderView
{
    Q_OBJECT
  public:
    explicit TitleHeader(QWidget *parent = nullptr);

    // The text section logicalIndex shows: the title, or its start and an ellipsis.
    QString shownTitle(int logicalIndex) const;

  protected:
    bool viewportEvent(QEvent *e) override;
    void initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const override;
};

} // namespace vorlac
