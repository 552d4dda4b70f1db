#pragma once

#include <QDialog>
#include <QLocale>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;

namespace vorlac
{

// Asks the ordinate to read on the fitted curve: typed with the locale's decimal separator, or
// chosen among the table's lines.
class CurveReadingDialog : public QDialog
{
    Q_OBJECT
  public:
    // lines: the table line's label ("Ligne 3 : 1,52") and its value.
    CurveReadingDialog(const std::vector<std::pair<QString, double>> &lines, const QLocale &locale, QWidget *parent);

    // The value shown in the field, if it reads as a number.
    std::optional<double> value() const;

  public slots:
    void accept() override;

  private:
    QLocale m_locale;
    QComboBox *m_value;
    QLabel *m_error;
};

} // namespace vorlac
