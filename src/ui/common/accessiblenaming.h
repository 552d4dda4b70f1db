#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace vorlac
{

// Gives every widget of the program an accessible name when the toolkit would find none: from
// its caption (a label made its buddy), its tooltip, its hint (the accessible description the
// hint line sets), the title of a panel, or, for the inner parts of a control (a viewport), the
// name of the control. Installed on the application, it names each widget as it is polished and
// again as it is shown, so new controls are named too and a name given here follows what
// changed in between. A label with text is named by its text, kept current by the toolkit.
class AccessibleNaming : public QObject
{
    Q_OBJECT
  public:
    using QObject::QObject;

    // The name the toolkit gives w by itself (caption, title, window title).
    static QString ownName(const QWidget *w);
    // The text of the label made w's buddy, without its closing colon; empty when none.
    static QString captionOf(const QWidget *w);
    // A panel or frame's title: the text of the first label among its direct children.
    static QString title(const QWidget *w);
    // Rich text and mnemonics reduced to the words read aloud.
    static QString plainText(const QString &text);
    // The name w is given here when it has no own name; empty when none was found.
    static QString derivedName(const QWidget *w);
    // Sets the derived name on w when it has no own name nor a name given elsewhere.
    static void name(QWidget *w);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace vorlac
