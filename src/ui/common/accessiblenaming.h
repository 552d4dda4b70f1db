#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace vorlac
{

// Gives every widget of the program an accessible name when the toolkit would find none: from
// its tooltip, its hint (the accessible description the hint line sets), the title of a panel,
// or, for the inner parts of a control (a viewport), the name of the control. Installed on the
// application, it names each widget as it is polished, so new controls are named too.
class AccessibleNaming : public QObject
{
    Q_OBJECT
  public:
    using QObject::QObject;

    // The name the toolkit gives w by itself (caption, title, buddy label, window title).
    static QString ownName(const QWidget *w);
    // The name w is given here when it has no own name; empty when none was found.
    static QString derivedName(const QWidget *w);
    // Sets the derived name on w when it has neither an accessible name nor an own name.
    static void name(QWidget *w);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace vorlac
