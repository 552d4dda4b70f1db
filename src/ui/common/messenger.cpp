#include "common/messenger.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QPushButton>
#include <QSpacerItem>

namespace vorlac
{

namespace
{

// Room the title bar keeps beside its text: the window's icon and its buttons.
constexpr int kTitleBarButtons = 120;

// Puts the labels on the message box of that title as it is shown, before its size is set:
// whatever shows the box (Messenger's own function or another) stays the same.
class ButtonLabels : public QObject
{
  public:
    ButtonLabels(QString title, Messenger::Labels labels) : m_title(std::move(title)), m_labels(std::move(labels))
    {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = event->type() == QEvent::Show ? qobject_cast<QMessageBox *>(watched) : nullptr;
        if (box && box->windowTitle() == m_title) {
            for (const auto &[button, text] : m_labels)
                if (QAbstractButton *b = box->button(button)) {
                    b->setText(text);
                    b->setIcon(QIcon()); // a stock icon (Cancel's cross) would say something else
                }
            if (auto *first = qobject_cast<QPushButton *>(box->button(m_labels.value(0).first)))
                box->setDefaultButton(first);
        }
        return false;
    }

  private:
    QString m_title;
    Messenger::Labels m_labels;
};

} // namespace

QMessageBox::StandardButton Messenger::askLabelled(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                                   const QString &text, const Labels &labels) const
{
    QMessageBox::StandardButtons buttons;
    for (const auto &label : labels)
        buttons |= label.first;
    const ButtonLabels relabel(title, labels);
    return show(parent, icon, title, text, buttons);
}

int messageBoxMinimumWidth(const QString &title)
{
    // The window manager draws the title, usually bold, in its own title font.
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarButtons;
}

Messenger::Messenger()
{
    show = [](QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
              QMessageBox::StandardButtons buttons) {
        QMessageBox box(icon, title, text, buttons, parent);
        // QMessageBox sizes itself to its contents at every show; a spacer across its grid is
        // the one minimum width it keeps, so that the window manager does not cut the title.
        if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
            const QMargins margins = grid->contentsMargins();
            const int width = messageBoxMinimumWidth(title) - margins.left() - margins.right();
            grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                          grid->columnCount());
        }
        return static_cast<QMessageBox::StandardButton>(box.exec());
    };
}

QString askFileToWrite(QWidget *parent, const Messenger &messenger, const QString &title, QString suggested,
                       const std::function<QString(const QString &offered)> &pick)
{
    for (;;) {
        const QString file = pick(suggested);
        if (file.isEmpty())
            return {};
        const QFileInfo info(file);
        if (!info.exists() && !info.isSymLink())
            return file;
        const QMessageBox::StandardButton answer =
            messenger.ask(parent, QMessageBox::Warning, title,
                          QStringLiteral("Le fichier %1 existe déjà.\nVoulez-vous le remplacer ?")
                              .arg(QDir::toNativeSeparators(file)),
                          QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes)
            return file;
        if (answer != QMessageBox::No)
            return {};
        suggested = file;
    }
}

} // namespace vorlac
