#pragma once

#include <QAccessible>
#include <QLabel>

class QPainter;

namespace vorlac
{

// A label that reports left clicks (title bars, icons, the "Exercices" tab). It takes the
// keyboard focus too: Space or Enter is a click, and a focus mark shows where the focus is.
class ClickLabel : public QLabel
{
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget *parent = nullptr);
    ClickLabel(const QString &text, QWidget *parent = nullptr);

    // What a screen reader calls it: a button, or the page tab it stands for.
    QAccessible::Role accessibleRole() const { return m_role; }
    void setAccessibleRole(QAccessible::Role role) { m_role = role; }
    // A click from the keyboard or a screen reader.
    void click() { emit clicked(); }

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

  private:
    bool m_pressed = false;
    QAccessible::Role m_role = QAccessible::Button;
};

// A dashed black and white rectangle just inside rect: the focus mark of the program's own
// controls, seen on dark and light backgrounds alike.
void paintFocusMark(QPainter &p, const QRect &rect);

} // namespace vorlac
