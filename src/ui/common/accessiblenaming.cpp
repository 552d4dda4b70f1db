#include "common/accessiblenaming.h"

#include "common/accessiblewidgets.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QWidget>

namespace vorlac
{

namespace
{

// The name this filter gave a widget, told apart from a name given on purpose.
constexpr const char *kDerivedName = "vorlacDerivedName";

bool showsOnlyText(const QWidget *w)
{
    const auto *l = qobject_cast<const QLabel *>(w);
    return l && l->pixmap().isNull();
}

} // namespace

QString AccessibleNaming::plainText(const QString &text)
{
    QString t = Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
    // A mnemonic's "&" is not read; "&&" is one "&".
    t.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    t.remove(QLatin1Char('&'));
    t.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return t.simplified();
}

QString AccessibleNaming::captionOf(const QWidget *w)
{
    const QWidget *parent = w->parentWidget();
    if (!parent)
        return {};
    for (const QLabel *l : parent->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
        if (l->buddy() == w) {
            QString t = plainText(l->text());
            while (t.endsWith(QLatin1Char(':')))
                t.chop(1);
            if (!t.trimmed().isEmpty())
                return t.trimmed();
        }
    return {};
}

QString AccessibleNaming::title(const QWidget *w)
{
    if (qobject_cast<const QLabel *>(w) || qobject_cast<const QAbstractButton *>(w))
        return {};
    for (const QObject *o : w->children())
        if (const auto *l = qobject_cast<const QLabel *>(o)) {
            const QString t = plainText(l->text());
            if (!t.isEmpty())
                return t;
        }
    return {};
}

QString AccessibleNaming::ownName(const QWidget *w)
{
    if (w->isWindow())
        return plainText(w->windowTitle());
    if (const auto *b = qobject_cast<const QAbstractButton *>(w))
        return plainText(b->text());
    if (const auto *l = qobject_cast<const QLabel *>(w))
        return plainText(l->text());
    if (const auto *g = qobject_cast<const QGroupBox *>(w))
        return plainText(g->title());
    return {};
}

QString AccessibleNaming::derivedName(const QWidget *w)
{
    const QString caption = captionOf(w);
    if (!caption.isEmpty())
        return caption;
    if (!w->toolTip().isEmpty())
        return plainText(w->toolTip());
    const QString t = title(w);
    if (!t.isEmpty())
        return t;
    if (!w->accessibleDescription().isEmpty())
        return plainText(w->accessibleDescription());
    // The inner parts of a control (viewport, header, scroll bar corner) are known by the
    // control, even when it is named after them.
    const QWidget *p = w->parentWidget();
    if (!p)
        return {};
    if (!p->accessibleName().isEmpty())
        return p->accessibleName();
    const QString own = ownName(p);
    return own.isEmpty() ? derivedName(p) : own;
}

void AccessibleNaming::name(QWidget *w)
{
    const QString given = w->accessibleName();
    if (!given.isEmpty() && given != w->property(kDerivedName).toString())
        return; // named on purpose
    // A label's text, a title or a caption is read as it is now, not as it was at the polish.
    QString n;
    if (!namedByItsContent(w) && !showsOnlyText(w) && ownName(w).isEmpty())
        n = derivedName(w);
    if (n == given)
        return;
    w->setAccessibleName(n);
    w->setProperty(kDerivedName, n.isEmpty() ? QVariant() : QVariant(n));
}

bool AccessibleNaming::eventFilter(QObject *watched, QEvent *event)
{
    // At the polish, and again when shown: a widget polished before it was put in its place
    // (a grid made, then set into its frame) finds its ancestors' names only then.
    if ((event->type() == QEvent::Polish || event->type() == QEvent::Show) && watched->isWidgetType())
        name(static_cast<QWidget *>(watched));
    return QObject::eventFilter(watched, event);
}

} // namespace vorlac
