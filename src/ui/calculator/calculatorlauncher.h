#pragma once

#include <QObject>

class QWidget;

namespace vorlac
{

struct Messenger;
class ValueTable;

// Opens the calculator, modally, and keeps its memory for the whole run: each opening gets a
// new window whose options start afresh, but the memory lives here.
class CalculatorLauncher : public QObject
{
    Q_OBJECT
  public:
    CalculatorLauncher(const Messenger &messenger, QWidget *parent);

    void setTable(ValueTable *table) { m_table = table; }
    double memory() const { return m_memory; }

    // The toolbar's "Calculatrice".
    void openPlain();
    // The column menu's "Calculer C"n and "Recalculer C"n (no table: nothing happens).
    void calculateColumn(int col) { openColumn(col, false); }
    void recalculateColumn(int col) { openColumn(col, true); }

  private:
    void openColumn(int col, bool recalculate);

    const Messenger &m_messenger;
    QWidget *m_parent;
    ValueTable *m_table = nullptr;
    double m_memory = 0.0;
};

} // namespace vorlac
