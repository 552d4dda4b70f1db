#pragma once

#include "model/protractor.h"
#include "model/protractormodel.h"
#include "render/protractorpainter.h"
#include "render/scenerenderer.h"

#include <QImage>
#include <QWidget>

namespace vorlac
{

class LampLabel;

// The protractor `picturap`, a child of the scene `dessin`: a copy of the scene picture under it
// with the incident ray, the lamp and the graduations drawn over, and its three handles
// `Imagecroix` (move), `Imaged` (turn) and `Imageboule` (aim the measuring line). It keeps its
// position, rotation and line angle while hidden.
class ProtractorView : public QWidget
{
    Q_OBJECT
  public:
    // model: the protractor's owner; null for one of the view's own.
    ProtractorView(const ScenePicture &scene, QWidget *dessin, ProtractorModel *model = nullptr);

    // A new background from the scene picture, then the drawing. blackBackground chooses the
    // colours until the next refresh.
    void RefreshProtractor(bool blackBackground);

    const ProtractorState &state() const { return m_state; }
    ProtractorModel &model() const { return m_model; }
    // Puts the protractor where a state has it, through its owner. Emits readOutChanged; the
    // owner reports no edit.
    void setState(const ProtractorState &state) { m_model.setState(state); }
    QString readOut() const;
    // The picture as shown, handles included.
    QImage picture();

    // The scene's view: zoomed, the protractor is drawn at that scale over the zoomed picture
    // (the widget covers what shows of it) and its handles work where they are drawn. At 1x it
    // is the designed picture.
    void setViewport(const SceneViewport &view);

    // Another view of the protractor (the projection) drags its handles with these, at points of
    // the protractor's picture: what the mouse does on the handle widgets.
    enum class Handle { Cross, Turn, Sphere };
    QPointF handleCorner(Handle handle) const;
    void grabCross(QPointF at);
    void dragHandle(Handle handle, QPointF at);

    // The handles' pictures, for a device pixel ratio.
    static QPixmap crossPicture(qreal ratio);
    static QPixmap turnPicture(qreal ratio);
    static QPixmap spherePicture(qreal ratio);

    // The keys of the protractor with the focus (arrows move, Ctrl turns, Alt aims, Escape
    // closes). Returns whether the key was the protractor's.
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);

  signals:
    void readOutChanged(const QString &text);
    // The pupil moved, turned or aimed the protractor.
    void stateChanged();
    void hint(const QString &text);
    // Escape with the focus on the protractor.
    void closeRequested();
    // Drawn again (moved, turned, aimed, a new background) or shown or hidden.
    void figureChanged();

  protected:
    void paintEvent(QPaintEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;

  private:
    void place();
    QPointF corner(const QWidget *handle) const;
    QPointF inHandle(const QWidget *handle, QPointF pos) const;
    void copyBackground();
    // Lays the figure out and places the handles; repaints dirty (the whole picture if empty).
    void DrawProtractor(const QRect &dirty = {});
    QPointF inPicture(const QWidget *handle, QPointF pos) const;
    void crossMoved(Qt::MouseButtons buttons, QPointF pos);
    void turnMoved(Qt::MouseButtons buttons, QPointF pos);
    void sphereMoved(Qt::MouseButtons buttons, QPointF pos);
    void moveCrossTo(QPointF inCross);
    void turnTo(QPointF at);
    void aimTo(QPointF at);

    const ScenePicture &m_scene;
    ProtractorModel &m_model;
    const ProtractorState &m_state; // the owner's; the drags and keys change it through its setters
    ProtractorFigure m_figure;
    ProtractorColours m_colours;
    QImage m_background;
    QImage m_lamp;
    LampLabel *m_cross;
    LampLabel *m_turn;
    LampLabel *m_sphere;
    SceneViewport m_view;
};

} // namespace vorlac
