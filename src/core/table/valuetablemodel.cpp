#include "table/valuetablemodel.h"

#include "table/valuetable.h"

namespace vorlac
{

ValueTableModel::ValueTableModel(ValueTable &table, QObject *parent) : QAbstractTableModel(parent), m_table(&table)
{
    connect(m_table, &ValueTable::cellsChanged, this, &ValueTableModel::onCellsChanged);
    connect(m_table, &ValueTable::tableReset, this, &ValueTableModel::onReset);
}

int ValueTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table->Rows() - 1;
}

int ValueTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ValueTable::kColumns;
}

QVariant ValueTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_table->TextMatrix(index.row() + 1, index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    case TypingRole:
        return index.row() + 1 == m_table->Row() && index.column() == m_table->Col() && m_table->activeCellTyped();
    default:
        return {};
    }
}

QVariant ValueTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return m_table->title(section);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return {};
    }
    if (role == Qt::DisplayRole)
        return section + 1;
    return {};
}

Qt::ItemFlags ValueTableModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ValueTableModel::onCellsChanged(int firstRow, int lastRow)
{
    if (firstRow <= 0)
        emit headerDataChanged(Qt::Horizontal, 0, ValueTable::kColumns - 1);
    const int first = std::max(firstRow, 1) - 1;
    const int last = lastRow - 1;
    if (last >= first)
        emit dataChanged(index(first, 0), index(last, ValueTable::kColumns - 1), {Qt::DisplayRole});
}

void ValueTableModel::onReset()
{
    beginResetModel();
    endResetModel();
}

} // namespace vorlac
