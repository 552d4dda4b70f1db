#include "simulator/hintline.h"

#include <QMouseEvent>

namespace vorlac {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

HintLine::HintLine(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("info"));
    setWordWrap(true);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(1);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::ToolTipBase));
    p.setColor(QPalette::WindowText, p.color(QPalette::ToolTipText));
    setPalette(p);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void HintLine::setInfo(const QString &text)
{
    m_text = text;
    const QString shown = QString(text).replace(kCrLf, QStringLiteral("\n"));
    // The longest hints need a slightly smaller type to stay within the line's two rows.
    const QRect room = contentsRect().adjusted(1, 0, -1, 0);
    QFont f = parentWidget() ? parentWidget()->font() : font();
    for (int px = 11; px >= 9; --px) {
        f.setPixelSize(px);
        const QRect need = QFontMetrics(f).boundingRect(room, Qt::TextWordWrap | Qt::AlignLeft, shown);
        if (need.height() <= room.height() || px == 9)
            break;
    }
    setFont(f);
    setText(shown);
}

void HintLine::addHint(QWidget *w, const QString &text)
{
    m_hints.insert(w, text);
    w->setMouseTracking(true);
    w->installEventFilter(this);
}

void HintLine::keepWhileHovering(QWidget *w, const QString &text) { m_kept.insert(w, text); }

bool HintLine::isOwnMove(QWidget *watched, QPointF pos) const
{
    // A move a hinted child left unhandled reaches its parents too: it belongs to the child.
    for (const QWidget *w = watched->childAt(pos.toPoint()); w && w != watched; w = w->parentWidget())
        if (m_hints.contains(const_cast<QWidget *>(w)))
            return false;
    return true;
}

bool HintLine::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        if (event->type() == QEvent::MouseMove && !isOwnMove(static_cast<QWidget *>(watched),
                                                             static_cast<QMouseEvent *>(event)->position()))
            return QLabel::eventFilter(watched, event);
        const auto it = m_hints.constFind(watched);
        const auto kept = m_kept.constFind(watched);
        if (it != m_hints.constEnd() && (kept == m_kept.constEnd() || kept.value() != m_text))
            setInfo(it.value());
    }
    return QLabel::eventFilter(watched, event);
}

} // namespace vorlac
