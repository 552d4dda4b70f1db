#include "calculator/avancalc.h"

#include <QLabel>
#include <QProgressBar>

namespace vorlac
{

Avancalc::Avancalc(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("avancalc"));
    setWindowTitle(QStringLiteral("Calcul"));
    setFixedSize(297, 81);
    auto *label = new QLabel(QStringLiteral("Patience: calculs en cours..."), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(16, 8, 265, 20);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("PBar"));
    m_bar->setGeometry(16, 36, 265, 25);
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
}

void Avancalc::setProgress(int line, int lastLine)
{
    if (m_bar->maximum() != lastLine)
        m_bar->setMaximum(lastLine);
    m_bar->setValue(line);
    m_bar->repaint();
}

} // namespace vorlac
