#pragma once

#include <QMenu>
#include <functional>
#include <initializer_list>
#include <utility>

namespace vorlac
{

// Menu items carry the name of their action; separators are named too.
QAction *addNamedAction(QMenu *menu, const char *name, const QString &caption);
QAction *addNamedSeparator(QMenu *menu, const char *name);

// The item of menu named name; nullptr when there is none.
QAction *namedAction(const QMenu &menu, const char *name);

// A named pop-up menu with its items in order; a caption "-" is a separator.
QMenu *makeNamedMenu(QWidget *parent, const char *name, std::initializer_list<std::pair<const char *, QString>> items);

// Hovering an item of menu shows its status tip with `show` (the hint line); an item without one
// empties the line.
void relayStatusTips(QMenu *menu, const std::function<void(const QString &)> &show);

} // namespace vorlac
