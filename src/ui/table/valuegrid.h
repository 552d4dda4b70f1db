#pragma once

#include <QTableView>

namespace vorlac
{

class ValueTable;
class ValueTableModel;

// The grid MSFlexGrid1: shows a ValueTable, the titles as its header. It never edits by
// itself: typed keys go through the table's typing rules, and the active cell is the table's.
// Only a left press activates a data cell; a right press leaves the active cell where it is, so
// that the table menu acts on the cell the pupil was working on.
class ValueGrid : public QTableView
{
    Q_OBJECT
  public:
    static constexpr int kColumnWidth = 55; // 825 twips
    static constexpr int kRowHeight = 16;   // 240 twips

    static QString dataHint();
    static QString headerHint();

    explicit ValueGrid(ValueTable &table, QWidget *parent = nullptr);

    ValueTable &table() const { return m_table; }
    // The rectangle of data cell (row >= 1) or title cell (row 0), in viewport / header
    // coordinates respectively.
    QRect cellRect(int row, int col) const;

  signals:
    // Help-line text for the position under the pointer.
    void hintChanged(const QString &text);
    // The pointer moved over the grid: refresh the enabling of the table menu.
    void pointerMoved();
    // A button was released over title cell col (now the active column).
    void columnMenuRequested(int col, const QPoint &globalPos);
    // The right button was released over the data area.
    void tableMenuRequested(const QPoint &globalPos);

  protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

  private:
    void showActiveCell();
    void selectActiveColumn();
    void requestColumnMenuByKey();

    ValueTable &m_table;
    ValueTableModel *m_model;
    bool m_syncing = false;
};

} // namespace vorlac
