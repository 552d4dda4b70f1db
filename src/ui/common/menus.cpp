#include "common/menus.h"

namespace vorlac
{

QAction *addNamedAction(QMenu *menu, const char *name, const QString &caption)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QAction *addNamedSeparator(QMenu *menu, const char *name)
{
    QAction *a = menu->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QAction *namedAction(const QMenu &menu, const char *name)
{
    return menu.findChild<QAction *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

QMenu *makeNamedMenu(QWidget *parent, const char *name, std::initializer_list<std::pair<const char *, QString>> items)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QString::fromLatin1(name));
    for (const auto &[item, caption] : items) {
        if (caption == QStringLiteral("-"))
            addNamedSeparator(menu, item);
        else
            addNamedAction(menu, item, caption);
    }
    return menu;
}

void relayStatusTips(QMenu *menu, const std::function<void(const QString &)> &show)
{
    // An item without a tip clears the line: the command it runs must not stand under the last
    // item's sentence (the mouse or the arrow keys went over it before it was chosen).
    QObject::connect(menu, &QMenu::hovered, menu, [show](QAction *action) {
        if (action)
            show(action->statusTip());
    });
}

} // namespace vorlac
