#include "common/hintline.h"

#include "common/crlf.h"

#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QMouseEvent>

namespace vorlac
{

namespace
{
constexpr int kLargestPixels = 11;
constexpr int kSmallestPixels = 8;

class HintLineAccessible : public QAccessibleWidget
{
  public:
    explicit HintLineAccessible(HintLine *line) : QAccessibleWidget(line, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<HintLine *>(widget())->info().replace(kCrLf, QStringLiteral(" ")).simplified();
        return QAccessibleWidget::text(t);
    }
};

} // namespace

HintLine::HintLine(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("info"));
    setWordWrap(true);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(1);
    setIndent(2);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::ToolTipBase));
    p.setColor(QPalette::WindowText, p.color(QPalette::ToolTipText));
    setPalette(p);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void HintLine::setInfo(const QString &text)
{
    m_text = text;
    setText(QString(text).replace(kCrLf, QStringLiteral("\n")));
    // The longest hints take a smaller type so that they stay whole within the line.
    QFont f = parentWidget() ? parentWidget()->font() : font();
    for (int px = kLargestPixels; px >= kSmallestPixels; --px) {
        f.setPixelSize(px);
        setFont(f);
        if (heightForWidth(width()) <= height())
            break;
    }
}

void HintLine::announce(const QString &text)
{
    setInfo(text);
    // Orca reads a notification when it is shown; the toolkit has no announcement of its own.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void HintLine::addHint(QWidget *w, const QString &text)
{
    m_hints.insert(w, text);
    // The hint is what a screen reader says of the control too.
    if (w->accessibleDescription().isEmpty())
        w->setAccessibleDescription(QString(text).replace(kCrLf, QStringLiteral(" ")));
    w->setMouseTracking(true);
    w->installEventFilter(this);
}

void HintLine::keepWhileHovering(QWidget *w, const QString &text)
{
    m_kept.insert(w, text);
}

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
    // Reaching a control with Tab shows its hint, as the mouse does.
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const auto it = m_hints.constFind(watched);
        if (it != m_hints.constEnd() && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason))
            setInfo(it.value());
    }
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        if (event->type() == QEvent::MouseMove &&
            !isOwnMove(static_cast<QWidget *>(watched), static_cast<QMouseEvent *>(event)->position()))
            return QLabel::eventFilter(watched, event);
        const auto it = m_hints.constFind(watched);
        const auto kept = m_kept.constFind(watched);
        if (it != m_hints.constEnd() && (kept == m_kept.constEnd() || kept.value() != m_text))
            setInfo(it.value());
    }
    return QLabel::eventFilter(watched, event);
}

QAccessibleInterface *hintLineAccessibleFactory(const QString &, QObject *object)
{
    if (auto *line = qobject_cast<HintLine *>(object))
        return new HintLineAccessible(line);
    return nullptr;
}

} // namespace vorlac
