#pragma once

#include <QRect>
#include <QString>

class QDialog;
class QPushButton;
class QWidget;

namespace vorlac
{

// Shared by the two situation dialogs.

// Places dialog 20 pixels to the right of and below the top-left corner of the main window.
void placeBesideMainWindow(QDialog *dialog, QWidget *mainWindow);

// A button that Enter elsewhere in the dialog does not press.
QPushButton *addDialogButton(QWidget *parent, const char *name, const QString &text, QRect geometry);

} // namespace vorlac
