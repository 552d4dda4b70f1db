#pragma once

#include <QFrame>
#include <QPoint>

class QScrollBar;

namespace vorlac
{

class HintLine;
class SceneController;
class SceneView;

// The sunken frame `Picture3` that shows the top of the scene `dessin`, with the scroll bar
// `VScroll1` beside it (a sibling in the window) and the lamp drag. Overlays of the scene, such
// as the protractor `picturap`, are children of view().
class SceneFrame : public QFrame
{
    Q_OBJECT
  public:
    SceneFrame(SceneController &controller, HintLine &hints, QWidget *window);

    SceneView *view() const { return m_view; }

    // Lamp mouse handlers, in pixels of the lamp image.
    void lampMouseMove(Qt::MouseButtons buttons, QPointF posInLamp);
    void lampMouseUp();

  protected:
    // The lamp's keys: each press one step of the incidence, the release as the mouse-up.
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    SceneController &m_controller;
    HintLine &m_hints;
    SceneView *m_view;
    QScrollBar *m_scroll;
    bool m_busy = false;
    // The lamp's last mouse position, in picture pixels.
    QPoint m_lastLampMouse;
};

} // namespace vorlac
