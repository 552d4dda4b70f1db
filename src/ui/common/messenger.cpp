#include "common/messenger.h"

namespace vorlac {

Messenger::Messenger()
{
    show = [](QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
              QMessageBox::StandardButtons buttons) {
        QMessageBox box(icon, title, text, buttons, parent);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    };
}

} // namespace vorlac
