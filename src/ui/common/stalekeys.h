#pragma once

#include <QObject>

namespace vorlac
{

// Drops key events that reach a popup (a list's drop-down, a menu) after it closed. With a screen
// reader on, the toolkit hands each key to the accessibility bus and posts it again when the
// reader lets it through; a list's drop-down acts on Enter before that, closes, and the posted
// copy then chose the item a second time: "Autre" in a material list opened its dialog again
// right after OK. Installed on the application.
class StaleKeyFilter : public QObject
{
    Q_OBJECT
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace vorlac
