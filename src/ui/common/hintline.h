#pragma once

#include <QHash>
#include <QLabel>

class QAccessibleInterface;

namespace vorlac
{

// The hint line `info`: a help sentence for whatever the mouse is over. Widgets register their
// hint here; the line watches them and writes the hint on every enter and move, and when Tab
// brings the focus to them. The hint is also the widget's accessible description.
class HintLine : public QLabel
{
    Q_OBJECT
  public:
    explicit HintLine(QWidget *parent);

    QString info() const { return m_text; } // line breaks as CR LF
    void setInfo(const QString &text);
    // Shows the outcome of an action (a measure recorded, a copy made) and has screen readers
    // say it: the line is a notification to them, shown again.
    void announce(const QString &text);

    // Hovering w shows text.
    void addHint(QWidget *w, const QString &text);
    // While text is shown, hovering w leaves it in place (a confirmation stays readable).
    void keepWhileHovering(QWidget *w, const QString &text);
    QStringList hintTexts() const { return m_hints.values(); }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    bool isOwnMove(QWidget *watched, QPointF pos) const;

    QString m_text;
    QHash<QObject *, QString> m_hints;
    QHash<QObject *, QString> m_kept;
};

// The hint line as screen readers see it: a notification whose name is the line's text.
QAccessibleInterface *hintLineAccessibleFactory(const QString &key, QObject *object);

} // namespace vorlac
