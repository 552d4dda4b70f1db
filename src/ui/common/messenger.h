#pragma once

#include <QList>
#include <QMessageBox>
#include <functional>
#include <utility>

namespace vorlac
{

// Width a message box needs so that the window manager shows its whole title: the title in the
// title-bar font and room for the window's buttons.
int messageBoxMinimumWidth(const QString &title);

// Every message box of the program goes through one of these, so that a test can read and
// answer them without a person at the keyboard.
struct Messenger {
    using Function =
        std::function<QMessageBox::StandardButton(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                                  const QString &text, QMessageBox::StandardButtons buttons)>;
    Function show;

    Messenger();
    QMessageBox::StandardButton ask(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                                    QMessageBox::StandardButtons buttons) const
    {
        return show(parent, icon, title, text, buttons);
    }
    void critical(QWidget *parent, const QString &title, const QString &text) const
    {
        show(parent, QMessageBox::Critical, title, text, QMessageBox::Ok);
    }
    // A question whose buttons say what they do: each standard button shows its own text, the
    // first one is the default. The answer is still the standard button (tests answer it so).
    using Labels = QList<std::pair<QMessageBox::StandardButton, QString>>;
    QMessageBox::StandardButton askLabelled(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                            const QString &text, const Labels &labels) const;
};

// Asks for a file to write until the pupil picks a new one, agrees to replace one that exists, or
// gives up (an empty result). pick(offered) shows the file dialog and returns its answer with the
// suffix it needs; "Non" to the replace question asks again, offering the same name.
QString askFileToWrite(QWidget *parent, const Messenger &messenger, const QString &title, QString suggested,
                       const std::function<QString(const QString &offered)> &pick);

} // namespace vorlac
