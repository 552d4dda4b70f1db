#pragma once

#include <QWidget>

namespace vorlac
{

// The title strip across the top of a secondary window (objectName "tito"): the title in
// 24-point bold from x = 30, one character at a time, fading from pale yellow to white.
class TitleStrip : public QWidget
{
    Q_OBJECT
  public:
    explicit TitleStrip(const QString &title, QWidget *parent = nullptr);
    QString title() const { return m_title; }

  protected:
    void paintEvent(QPaintEvent *) override;

  private:
    QString m_title;
};

} // namespace vorlac
