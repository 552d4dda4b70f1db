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
    // reason: why a record opened the dialog ("" from the panel's button); needWavelength: the
    // choice must give λ a column (five radiations).
    RecordColumnsDialog(const RecordColumns &columns, const QStringList &titles, QWidget *parent,
                        const QString &reason = {}, bool needWavelength = false);
    // The choice; a column's title at this moment is kept as the user's word for its quantity.
    RecordColumns columns() const;

  private:
    void check();

    std::array<QComboBox *, 7> m_combos{};
    QStringList m_titles;
    bool m_needWavelength;
    QLabel *m_warning;
    QWidget *m_ok;
};

} // namespace vorlac
