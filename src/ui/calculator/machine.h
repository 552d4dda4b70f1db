#pragma once

#include "expr/calculator.h"

#include <QDialog>
#include <QFont>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vorlac
{

struct Messenger;
class ValueTable;

// "Machine à calculer": a view of the Calculator key logic. The buttons take no focus and the
// display z1 is read-only, so every key reaches the logic once, through press or type.
class Machine : public QDialog
{
    Q_OBJECT
  public:
    // Plain mode. memory outlives the window.
    Machine(double &memory, const Messenger &messenger, QWidget *parent);
    // Column mode for column col of table ("Calculer"), or with its stored formula ("Recalculer").
    void openColumnMode(ValueTable &table, int col, bool recalculate);

    Calculator &calculator() { return m_calc; }
    QPushButton *key(CalculatorKey key) const { return m_keys[int(key)]; }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

  private:
    void press(CalculatorKey key);
    void showDisplay(const QString &text);
    void computeColumn();

    const Messenger &m_messenger;
    Calculator m_calc;
    ValueTable *m_table = nullptr;
    QLineEdit *m_z1;
    QFont m_displayFont;
    QPushButton *m_keys[kCalculatorKeyCount] = {};
    QRadioButton *m_degrees, *m_radians, *m_scientific, *m_standard;
};

} // namespace vorlac
