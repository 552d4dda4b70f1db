#pragma once

#include <QLabel>

namespace vorlac
{

// A label that reports left clicks (title bars, icons, the "Exercices" tab).
class ClickLabel : public QLabel
{
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

  private:
    bool m_pressed = false;
};

} // namespace vorlac
