#pragma once

#include "render/sceneoverlays.h"
#include "render/scenerenderer.h"
#include "render/sceneviewport.h"

#include <QLabel>
#include <QWidget>
#include <optional>

namespace vorlac
{

class FigureOptions;
class SceneController;

// The lamp image: reports the mouse in its own pixel coordinates, with the buttons held. When it
// takes the keyboard focus it draws a focus mark that reads on either background.
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
    void paintEvent(QPaintEvent *e) override;
};

// The scene picture `dessin`: shows the persistent picture with the incident ray `Line1` laid
// over it; the lamp `lampe` is a child placed from the last trace.
class SceneView : public QWidget
{
    Q_OBJECT
  public:
    SceneView(const ScenePicture &picture, QWidget *parent);
    LampLabel *lamp() const { return m_lamp; }
    // Moves the lamp and the incident ray to where the last trace put them, and tells assistive
    // technologies what the scene now shows.
    void placeOverlays();

    // The controller whose scene this is: what the scene says to assistive technologies and the
    // incidence they may set. None for a bare view.
    void setController(SceneController *controller) { m_controller = controller; }
    SceneController *controller() const { return m_controller; }
    // The marks drawn over the picture when their option is on.
    void setFigureOptions(const FigureOptions *options);
    const FigureOptions *figureOptions() const { return m_options; }

    // Zoom (1x..20x) about a point of the view, redrawn at that scale; Ctrl+wheel does it, and
    // dragging empty space pans while zoomed. At 1x the view is the designed one.
    const SceneViewport &viewport() const { return m_zoom; }
    void zoomAt(QPointF at, double factor);
    void resetZoom();

  signals:
    // The view now stands on a screen of another device pixel ratio.
    void screenRatioChanged(qreal ratio);
    // Zoomed, panned or back to the designed view.
    void viewportChanged(const SceneViewport &view);

  protected:
    void paintEvent(QPaintEvent *) override;
    void wheelEvent(QWheelEvent *) override;
    void mousePressEvent(QMouseEvent *) override;
    void mouseMoveEvent(QMouseEvent *) override;
    void mouseReleaseEvent(QMouseEvent *) override;

  private:
    const ScenePicture &m_picture;
    LampLabel *m_lamp;
    SceneOverlays m_overlays;
    SceneController *m_controller = nullptr;
    const FigureOptions *m_options = nullptr;
    void renderZoom();
    SceneViewport m_zoom;
    QImage m_zoomImage;
    std::optional<QPointF> m_panFrom;
    qreal m_lampRatio = 1.0;
    bool m_ratioChangeQueued = false;
};

} // namespace vorlac
