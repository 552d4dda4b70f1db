#pragma once

#include "render/sceneoverlays.h"
#include "render/scenerenderer.h"

#include <QLabel>
#include <QWidget>

namespace vorlac
{

// The lamp image: reports the mouse in its own pixel coordinates, with the buttons held.
class LampLabel : public QLabel
{
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void mouseDown(Qt::MouseButtons buttons, QPointF pos);
    void mouseMoved(Qt::MouseButtons buttons, QPointF pos);
    void mouseUp(Qt::MouseButtons buttons, QPointF pos);

  protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
};

// The scene picture `dessin`: shows the persistent picture with the incident ray `Line1` laid
// over it; the lamp `lampe` is a child placed from the last trace.
class SceneView : public QWidget
{
    Q_OBJECT
  public:
    SceneView(const ScenePicture &picture, QWidget *parent);
    LampLabel *lamp() const { return m_lamp; }
    // Moves the lamp and the incident ray to where the last trace put them.
    void placeOverlays();

  protected:
    void paintEvent(QPaintEvent *) override;

  private:
    const ScenePicture &m_picture;
    LampLabel *m_lamp;
    SceneOverlays m_overlays;
};

} // namespace vorlac
