#pragma once

#include <QHeaderView>

namespace vorlac
{

// The grid's title row. A title wider than its column is cut at its end ("= sin i / s…"): the
// style would centre it and cut both sides, which hides how it starts.
class TitleHeader : public QHeaderView
{
    Q_OBJECT
  public:
    explicit TitleHeader(QWidget *parent = nullptr);

    // The text section logicalIndex shows: the title, or its start and an ellipsis.
    QString shownTitle(int logicalIndex) const;

  protected:
    void initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const override;
};

} // namespace vorlac
