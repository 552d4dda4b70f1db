#pragma once

class QMenu;
class QWidget;

namespace vorlac
{

// The table's two pop-up menus, their items named and in order, with the captions they have
// before the first opening (menucol rewrites all but suitar's each time it opens).
QMenu *makeTableMenu(QWidget *parent);  // menutableau
QMenu *makeColumnMenu(QWidget *parent); // menucol

} // namespace vorlac
