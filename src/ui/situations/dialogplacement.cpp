#include "situations/dialogplacement.h"

#include <QDialog>
#include <QPushButton>

namespace vorlac
{

void placeBesideMainWindow(QDialog *dialog, QWidget *mainWindow)
{
    if (!mainWindow)
        return;
    const QWidget *top = mainWindow->window();
    dialog->move(top->frameGeometry().topLeft() + QPoint(20, 20));
}

QPushButton *addDialogButton(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
}

} // namespace vorlac
