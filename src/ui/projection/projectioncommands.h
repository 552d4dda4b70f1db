#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace vorlac
{

class ClickLabel;
class FigureOptions;
class HintLine;
class ProjectionWindow;
class ProtractorView;
class SceneController;
class ScreenCommands;

// "Projection": the item (F11) and the icon `ImageProjection` beside the panel icons that open
// and close the projection window.
class ProjectionCommands : public QObject
{
    Q_OBJECT
  public:
    ProjectionCommands(SceneController &controller, FigureOptions &options, HintLine &hints, QWidget *window);

    QAction *action() const { return m_action; }
    ClickLabel *icon() const { return m_icon; }
    // The open window; nullptr when closed.
    ProjectionWindow *window() const;
    void toggle();
    // The main window's protractor, drawn in the projection while it is shown.
    void setProtractor(ProtractorView *protractor);
    // The screen whose observed strip the projection can show.
    void setScreen(ScreenCommands *screen);

  private:
    SceneController &m_controller;
    FigureOptions &m_options;
    HintLine &m_hints;
    QWidget *m_window;
    QAction *m_action;
    ClickLabel *m_icon;
    QPointer<ProjectionWindow> m_projection;
    QPointer<ProtractorView> m_protractor;
    QPointer<ScreenCommands> m_screen;
};

} // namespace vorlac
