#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace vorlac
{

// Colours of the panels and of their navy title bars.
inline const QColor kTitleBarColour(0, 0, 128);
inline const QColor kPanelColour(238, 238, 230);

// White bold text on navy: the title bars of the panels, the table and the "Exercices" tab.
void styleTitleBar(QLabel *bar);

// A named label at a fixed place, as every panel lays out its texts.
QLabel *addLabel(QWidget *parent, const char *name, const QString &text, QRect geometry);

// A sunken white box for a read-out value.
void styleReadout(QLabel *label);

void setBold(QWidget *w);

} // namespace vorlac
