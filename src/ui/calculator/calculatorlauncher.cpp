#include "calculator/calculatorlauncher.h"

#include "calculator/machine.h"

namespace vorlac
{

CalculatorLauncher::CalculatorLauncher(const Messenger &messenger, QWidget *parent)
    : QObject(parent), m_messenger(messenger), m_parent(parent)
{
}

void CalculatorLauncher::openPlain()
{
    Machine machine(m_memory, m_messenger, m_parent);
    machine.exec();
}

void CalculatorLauncher::openColumn(int col, bool recalculate)
{
    if (!m_table || col < 0 || col > 6)
        return;
    Machine machine(m_memory, m_messenger, m_parent);
    machine.openColumnMode(*m_table, col, recalculate);
    machine.exec();
}

} // namespace vorlac
