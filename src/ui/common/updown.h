#pragma once

#include <QWidget>

class QToolButton;

namespace vorlac
{

// A pair of up/down arrows holding an integer value between a minimum and a maximum; the value
// itself is shown elsewhere (a label beside it).
class UpDown : public QWidget
{
    Q_OBJECT
  public:
    explicit UpDown(QWidget *parent = nullptr);
    int value() const { return m_value; }
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    void setRange(int min, int max);
    void setValue(int v); // clamped; emits valueChanged when the value changes
    void stepUp() { setValue(m_value + 1); }

  signals:
    void valueChanged(int value);

  protected:
    void resizeEvent(QResizeEvent *) override;
    bool event(QEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    // Up and Down step by one, Home and End go to the ends; the focus is marked.
    void keyPressEvent(QKeyEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

  private:
    void stepDown() { setValue(m_value - 1); }

    QToolButton *m_up;
    QToolButton *m_down;
    int m_min = 0;
    int m_max = 100;
    int m_value = 0;
};

} // namespace vorlac
