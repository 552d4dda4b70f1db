#pragma once

#include "common/keptlayout.h"
#include "common/storepixels.h"
#include "model/colour.h"
#include "render/sceneviewport.h"
#include "render/viewtrail.h"
#include "scene/protractorview.h"
#include "spectra/observedspectrum.h"

#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <optional>
#include <tuple>
#include <vector>

class QMenu;

namespace vorlac
{

class FigureOptions;
class HintLine;
class SceneController;
class ScreenCommands;

// The window `Projection`: the scene alone, redrawn to fill it at the chosen ray width, live
// with every picture of the main window, with a large read-out in its corner. The lamp drags and
// steps here through the same controller, and the main window's protractor, while shown, is
// drawn and dragged here too; Ctrl+wheel and Ctrl+plus/minus zoom about the pointer,
// dragging empty space pans, Ctrl+0 returns to the whole scene; Escape or F11 closes it.
class ProjectionWindow : public QWidget
{
    Q_OBJECT
  public:
    // protractor: the main window's, drawn here at the projection's scale while it is shown.
    ProjectionWindow(SceneController &controller, FigureOptions &options, QWidget *mainWindow,
                     ProtractorView *protractor = nullptr);
    ~ProjectionWindow() override;

    // Full screen on a screen other than the main window's when there is one, else on its own.
    void showOnProjector();

    // The rays as the window shows them, without the marks and read-outs painted over them.
    const QImage &sceneImage() const;
    const SceneViewport &viewport() const { return m_view; }
    QRectF lampRect() const; // window pixels
    QMenu *menu() const { return m_menu; }

    // The observed spectrum along the bottom, large, with its ruler and the panel's cursor and
    // read-out: the screen's own strip (key S, or the pop-up menu). The scene fits above it; a
    // click or a drag on the strip moves the panel's cursor.
    void setScreenCommands(ScreenCommands *screen);
    QAction *stripAction() const { return m_stripAction; }
    bool stripShown() const;
    QRect stripBand() const; // window pixels; empty while the strip is not shown

  signals:
    // The lamp moved by a key here, where no slider says its value.
    void lampStepped();
    void stripToggled(bool shown);

  protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void mousePressEvent(QMouseEvent *) override;
    void mouseMoveEvent(QMouseEvent *) override;
    void mouseReleaseEvent(QMouseEvent *) override;
    void wheelEvent(QWheelEvent *) override;
    void keyPressEvent(QKeyEvent *) override;
    void keyReleaseEvent(QKeyEvent *) override;
    void contextMenuEvent(QContextMenuEvent *) override;

  private:
    void render();
    void dragTo(Qt::MouseButtons buttons, QPointF window);
    void zoomBy(double factor);
    QRectF paintReadout(QPainter &p); // where it painted; empty if nothing
    QRectF paintZoomLevel(QPainter &p);
    void paintProtractor(QPainter &p);
    void paintStrip(QPainter &p);
    void pointStrip(double x); // the panel's cursor to the strip's window x
    QSize sceneSize() const;   // the window less the strip's band
    void fitScene();
    // The protractor's handle under a window point (the topmost), while it is shown.
    std::optional<ProtractorView::Handle> protractorHandleAt(QPointF window) const;
    QRectF protractorHandleRect(ProtractorView::Handle handle) const;

    SceneController &m_controller;
    FigureOptions &m_options;
    SceneViewport m_view;
    QSize pixelSize() const;
    // Draws the figure straight into the window's pixels when a new one is painted whole.
    bool drawSceneInPlace(QPainter &p, const QRegion &region);
    ViewTrail m_trail;                 // what the last frame drawn in place put over the background
    std::vector<KeptLayout> m_readout; // its lines as last laid out
    mutable LazyPicture m_image;       // the last figure's rays, made when a part of the window is painted
    int m_rayWidth = 0;                // of the last picture
    QPixmap m_lamp; // the lamp drawn for the last scale: the picture is rendered again only when it changes
    qreal m_lampScale = 0;
    QMenu *m_menu;
    QPointer<ProtractorView> m_protractor;
    std::optional<ProtractorView::Handle> m_protractorDrag;
    bool m_dragging = false;
    bool m_panning = false;
    QPointF m_panFrom;
    QPoint m_lastLampMouse{-1, -1};
    QPointer<ScreenCommands> m_screen;
    QAction *m_stripAction;
    bool m_stripWanted = false; // told to the screen, so that it computes the spectrum
    QImage m_strip;             // the strip's pixels for the last stretch, width and spectrum
    QRect m_stripArea;          // where the last paint put the strip, and the stretch it showed
    StripRange m_stripRange;
    bool m_stripPointing = false;
    std::tuple<double, double, int, int> m_stripKey{0, 0, 0, -1};
};

} // namespace vorlac
