#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace vorlac
{

class FigureOptions;
class HintLine;
class MagnifierWindow;
class SceneController;

// "Grossissement du faisceau émergent": the item of the display menu `menuaffichage` and the
// key F8 that open and close the magnifier window.
class MagnifierCommands : public QObject
{
    Q_OBJECT
  public:
    MagnifierCommands(SceneController &controller, FigureOptions &options, HintLine &hints, QWidget *window);

    QAction *action() const { return m_action; }
    // The open window; nullptr when closed.
    MagnifierWindow *window() const;
    void toggle();

  private:
    SceneController &m_controller;
    FigureOptions &m_options;
    HintLine &m_hints;
    QWidget *m_window;
    QAction *m_action;
    QPointer<MagnifierWindow> m_magnifier;
};

} // namespace vorlac
