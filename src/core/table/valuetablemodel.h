#pragma once

#include <QAbstractTableModel>

namespace vorlac
{

class ValueTable;

// Shows a ValueTable to a view: data lines 1..Rows-1 are model rows 0..Rows-2, the titles are
// the horizontal header. Read-only: every change goes through the table, whose single
// notification per operation becomes one dataChanged or one model reset here.
class ValueTableModel : public QAbstractTableModel
{
    Q_OBJECT
  public:
    // bool: the cell is the active cell and is being typed into (ValueTable::activeCellTyped).
    static constexpr int TypingRole = Qt::UserRole + 1;

    explicit ValueTableModel(ValueTable &table, QObject *parent = nullptr);

    ValueTable &table() const { return *m_table; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

  private:
    void onCellsChanged(int firstRow, int lastRow);
    void onReset();

    ValueTable *m_table;
};

} // namespace vorlac
