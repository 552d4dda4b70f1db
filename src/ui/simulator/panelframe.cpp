#include "simulator/panelframe.h"

#include "common/clicklabel.h"
#include "common/panelstyle.h"

#include <QApplication>
#include <QKeyEvent>

namespace vorlac
{

PanelFrame::PanelFrame(const char *name, QRect geometry, const char *titleName, const QString &title, QWidget *parent)
    : QFrame(parent), m_titleBar(new ClickLabel(title, this))
{
    setObjectName(QString::fromLatin1(name));
    setGeometry(geometry);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kPanelColour);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    m_titleBar->setObjectName(QString::fromLatin1(titleName));
    m_titleBar->setGeometry(0, 0, geometry.width(), 17);
    m_titleBar->setToolTip(QStringLiteral("Fermer"));
    m_titleBar->setIndent(4);
    styleTitleBar(m_titleBar);
    connect(m_titleBar, &ClickLabel::clicked, this, &QWidget::hide);
    QFrame::setVisible(false);
}

void PanelFrame::showWithFocus()
{
    show();
    for (QWidget *w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(this) && w->isEnabled() &&
            w != m_titleBar) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    m_titleBar->setFocus(Qt::TabFocusReason);
}

void PanelFrame::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        e->accept();
        const bool hadFocus = isAncestorOf(QApplication::focusWidget());
        hide();
        if (hadFocus && m_opener && m_opener->isVisible())
            m_opener->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    QFrame::keyPressEvent(e);
}

void PanelFrame::setVisible(bool visible)
{
    const bool was = !isHidden();
    QFrame::setVisible(visible);
    if (was != visible)
        emit visibilityChanged(visible);
}

} // namespace vorlac
