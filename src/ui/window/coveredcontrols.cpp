#include "window/coveredcontrols.h"

#include <QWidget>

namespace vorlac
{

bool isCovered(const QWidget *control, const QWidget *window)
{
    const QWidget *top = control;
    while (top && top->parentWidget() != window)
        top = top->parentWidget();
    if (!top || top == control->window())
        return false;
    const QPoint middle = control->mapTo(window, control->rect().center());
    bool above = false;
    for (const QObject *o : window->children()) {
        if (o == top) {
            above = true;
            continue;
        }
        const auto *w = qobject_cast<const QWidget *>(o);
        if (!above || !w || w->isWindow() || !w->isVisible() || w->testAttribute(Qt::WA_TransparentForMouseEvents))
            continue;
        const QPoint inside = middle - w->pos();
        if (w->rect().contains(inside) && (w->mask().isEmpty() || w->mask().contains(inside)))
            return true;
    }
    return false;
}

CoveredControls::CoveredControls(QWidget &window)
{
    for (QWidget *w : window.findChildren<QWidget *>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || w->isWindow() || !isCovered(w, &window))
            continue;
        m_taken.emplace_back(w, w->focusPolicy());
        // Setting a policy sets the focus proxy's too: keep the proxies' own to put back.
        for (QWidget *p = w->focusProxy(); p; p = p->focusProxy())
            m_proxies.emplace_back(p, p->focusPolicy());
    }
    for (auto &[w, policy] : m_taken)
        w->setFocusPolicy(Qt::FocusPolicy(policy & ~Qt::TabFocus));
}

CoveredControls::~CoveredControls()
{
    for (auto &[w, policy] : m_taken)
        w->setFocusPolicy(policy);
    for (auto &[w, policy] : m_proxies)
        w->setFocusPolicy(policy);
}

} // namespace vorlac
