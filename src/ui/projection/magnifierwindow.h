#pragma once

#include "common/keptlayout.h"
#include "common/storepixels.h"
#include "model/colour.h"
#include "render/magnifier.h"
#include "render/viewtrail.h"

#include <QImage>
#include <QWidget>
#include <vector>

class QSlider;
class QSpinBox;

namespace vorlac
{

class FigureOptions;
class HintLine;
class SceneController;

// The tool window `Grossissement`: the emergent beam of the measured ray seen through a
// magnifier, 10x to 200x, a fixed distance from the exit face, redrawn by the program's own
// rasteriser in the slot of every picture of the main window, so it follows the lamp live. The
// slider, its box and Ctrl+wheel set the zoom, which is kept for the next start; Escape closes.
class MagnifierWindow : public QWidget
{
    Q_OBJECT
  public:
    MagnifierWindow(SceneController &controller, FigureOptions &options, HintLine &hints, QWidget *mainWindow);

    // Beside the main window, on the right when the screen has room there.
    void showBesideMainWindow();

    int zoom() const;
    void setZoom(int zoom);
    const QImage &image() const; // the picture's rays, made when first asked after a change
    const MagnifiedBeam &beam() const { return m_beam; }
    const SceneViewport &viewport() const { return m_view; }
    QRect pictureRect() const;
    QSize picturePixels() const; // of pictureRect, in device pixels

  protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void wheelEvent(QWheelEvent *) override;
    void keyPressEvent(QKeyEvent *) override;

  private:
    void render();
    // trail: where the words go, when the figure under them was drawn in place.
    void paintCaption(QPainter &p, QRect area, ViewTrail *trail);
    void paintLineLabels(QPainter &p, const std::vector<BeamLabel> &labels, QColor plate, QColor ink, ViewTrail *trail);

    SceneController &m_controller;
    FigureOptions &m_options;
    MagnifiedBeam m_beam;
    SceneViewport m_view;
    mutable LazyPicture m_image;
    ViewTrail m_trail;  // what the last frame drawn in place put over the background
    int m_rayWidth = 0; // of the last picture
    KeptLayout m_caption, m_scaleWords;
    std::vector<KeptLayout> m_lineLabels;
    QSlider *m_slider;
    QSpinBox *m_spin;
    QWidget *m_bar;
};

} // namespace vorlac
