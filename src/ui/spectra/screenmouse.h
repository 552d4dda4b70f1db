#pragma once

#include "spectra/screendrag.h"

#include <QObject>
#include <QPointF>
#include <optional>

class QWidget;

namespace vorlac
{

class HintLine;
class SceneView;
class ScreenCommands;

// The screen dragged on the scene: its drawn line moves it along the beam, its handle turns it,
// each drag one "écran" undo step that the panel's boxes follow. The lamp and the protractor,
// children of the view, stand over the screen and keep the mouse where they lie over it.
class ScreenMouse : public QObject
{
    Q_OBJECT
  public:
    ScreenMouse(ScreenCommands &screen, SceneView &view, HintLine &hints);

    QWidget *handle() const { return m_handle; }
    // The drawn screen, nothing while the screen is not drawn.
    std::optional<DrawnScreen> drawn() const;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    struct Drag {
        ScreenGrip grip;
        DrawnScreen screen;
        ScreenPlacement start;
        PointD from;
    };
    PointD scenePoint(QPointF inView) const;
    void placeHandle();
    void showCursor(ScreenGrip grip);
    bool mouse(QEvent *event, QPointF inView);

    ScreenCommands &m_screen;
    SceneView &m_view;
    HintLine &m_hints;
    QWidget *m_handle;
    std::optional<Drag> m_drag;
    bool m_cursorSet = false;
};

} // namespace vorlac
