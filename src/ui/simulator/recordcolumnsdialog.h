#pragma once

#include "table/measurerecord.h"

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;

namespace vorlac
{

// "Colonnes du relevé": which quantity a measurement record writes into each column C1..C7.
class RecordColumnsDialog : public QDialog
{
    Q_OBJECT
  public:
    RecordColumnsDialog(const RecordColumns &columns, const QStringList &titles, QWidget *parent);
    RecordColumns columns() const;

  private:
    void check();

    std::array<QComboBox *, 7> m_combos{};
    QLabel *m_warning;
    QWidget *m_ok;
};

} // namespace vorlac
