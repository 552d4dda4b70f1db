#include "common/accessiblenaming.h"

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

QString plain(const QString &text)
{
    QString t = Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
    // A mnemonic's "&" is not read; "&&" is one "&".
    t.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    t.remove(QLatin1Char('&'));
    t.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return t.simplified();
}

bool hasBuddyLabel(const QWidget *w)
{
    const QWidget *parent = w->parentWidget();
    if (!parent)
        return false;
    for (const QLabel *l : parent->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
        if (l->buddy() == w && !plain(l->text()).isEmpty())
            return true;
    return false;
}

// A panel or frame is known by its title: the first label among its direct children.
QString titleOf(const QWidget *w)
{
    if (qobject_cast<const QLabel *>(w) || qobject_cast<const QAbstractButton *>(w))
        return {};
    for (const QObject *o : w->children())
        if (const auto *l = qobject_cast<const QLabel *>(o)) {
            const QString t = plain(l->text());
            if (!t.isEmpty())
                return t;
        }
    return {};
}

} // namespace

QString AccessibleNaming::ownName(const QWidget *w)
{
    if (w->isWindow())
        return plain(w->windowTitle());
    if (const auto *b = qobject_cast<const QAbstractButton *>(w))
        return plain(b->text());
    if (const auto *l = qobject_cast<const QLabel *>(w))
        return plain(l->text());
    if (const auto *g = qobject_cast<const QGroupBox *>(w))
        return plain(g->title());
    return {};
}

QString AccessibleNaming::derivedName(const QWidget *w)
{
    if (!w->toolTip().isEmpty())
        return plain(w->toolTip());
    const QString title = titleOf(w);
    if (!title.isEmpty())
        return title;
    if (!w->accessibleDescription().isEmpty())
        return plain(w->accessibleDescription());
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
    if (!w->accessibleName().isEmpty() || !ownName(w).isEmpty() || hasBuddyLabel(w))
        return;
    const QString n = derivedName(w);
    if (!n.isEmpty())
        w->setAccessibleName(n);
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
