#pragma once

#include <QPointer>
#include <QWidget>

namespace vorlac
{

// The keyboard's mark on the standard controls that show none of their own in this style
// (scroll bars, buttons, text and list views): a ring in the highlight colour around the
// control, partly over its edge so that it still shows where the parent clips it. It lies
// just above the control among its siblings and lets the clicks through.
class FocusRing : public QWidget
{
    Q_OBJECT
  public:
    explicit FocusRing(QWidget *parent);

    // Whether w is a control that needs the ring to show the keyboard's focus.
    static bool wanted(const QWidget *w);

    // Puts the ring around w, or hides it (nullptr).
    void setWidget(QWidget *w);
    QWidget *widget() const { return m_widget; }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *) override;

  private:
    void place();

    QPointer<QWidget> m_widget;
    QMetaObject::Connection m_gone;
    bool m_placing = false; // its own restacking is no reason to place it again
};

} // namespace vorlac
