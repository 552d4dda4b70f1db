#pragma once

#include "common/messenger.h"
#include "model/scenestate.h"
#include "recovery/recoverytiming.h"
#include "render/scenerenderer.h"
#include "work/work.h"

#include <QWidget>
#include <functional>
#include <memory>

class QLabel;

namespace vorlac
{

class ClickLabel;
class CopyMenu;
class DisplayPanel;
class ExerciseArea;
class ExerciseAuthoring;
class ExerciseCommands;
class FigureOptions;
class HintLine;
class MaterialPanel;
class MeasurePanel;
class OutputCommands;
class ProjectionCommands;
class MagnifierCommands;
class ScreenCommands;
class ProtractorModel;
class ProtractorPanel;
class RecoveryKeeper;
class SceneController;
class SceneFrame;
class SituationBinder;
class SourcePanel;
class LampPanel;
class TableFrame;
class TableCommands;
class ValueTable;
class Toolbar;
class UndoActions;
class UndoHistory;
class SceneUndoAccess;
class SmallScreenRule;
class StartMarker;
class WorkBinder;

// What the main window takes from its surroundings; tests replace these.
struct VorlacEnvironment {
    QString programDirectory;          // with a trailing separator; empty: findProgramDirectory()
    QString stateDirectory;            // the unsaved work, and the marker when the program directory
                                       // refuses it; empty: userStateFolder()
    std::function<QSize()> screenSize; // available screen size in pixels; empty: the primary screen
    std::function<void()> endProgram;  // after an accepted close; empty: quit the application
    Messenger messenger;
    RecoveryTiming recoveryTiming; // when the unsaved work is written
};

// The main window: assembles the scene, the panels, the toolbar, the hint line and the exercise
// area around one SceneController, and owns the life cycle (start-up, the small-screen rule,
// the marker file, closing).
class Vorlac : public QWidget
{
    Q_OBJECT
  public:
    explicit Vorlac(VorlacEnvironment environment = {}, QWidget *parent = nullptr);
    ~Vorlac() override;

    SceneController &controller() const { return *m_controller; }
    const SceneState &scene() const;
    const ScenePicture &picture() const;
    const Messenger &messenger() const { return m_env.messenger; }
    // Where the help, the exercises and the marker file are looked for; ends with "/".
    QString programDirectory() const { return m_programDir; }

    HintLine &hintLine() const { return *m_hints; }
    QString info() const; // the hint line, line breaks as CR LF
    void setInfo(const QString &text);
    QString copyConfirmation() const; // what the hint line says after a copy

    // The rooms, for the features that plug into them.
    Toolbar &toolbar() const { return *m_toolbar; }
    SceneFrame &sceneFrame() const { return *m_sceneFrame; }
    TableFrame &tableFrame() const { return *m_tableFrame; }
    ValueTable &valueTable() const { return *m_valueTable; }
    TableCommands &tableCommands() const { return *m_tableCommands; }
    CopyMenu &copyMenu() const { return *m_copyMenu; }
    ExerciseArea &exercises() const { return *m_exercises; }
    ExerciseCommands &exerciseCommands() const { return *m_exerciseCommands; }
    ExerciseAuthoring &exerciseAuthoring() const { return *m_authoring; }
    SituationBinder &situations() const { return *m_situations; }
    RecoveryKeeper &recovery() const { return *m_recovery; }
    // Where the work is read and put back (undo, recovery, openings).
    WorkBinder &work() const { return *m_work; }

    // The last step of start-up, once the window is shown: offers the unsaved work of a program
    // that ended without a confirmed close. fileToOpen: the file the program was given; false
    // when the pupil chose to keep the restored work instead of opening it.
    bool offerRecovery(const QString &fileToOpen = QString());
    // The program's one undo stack, and its items and keys.
    UndoHistory &undoHistory() const { return *m_history; }
    UndoActions &undoActions() const { return *m_undoActions; }
    MeasurePanel &measurePanel() const { return *m_measurePanel; }
    FigureOptions &figureOptions() const { return *m_figureOptions; }
    ProjectionCommands &projection() const { return *m_projection; }
    MagnifierCommands &magnifier() const { return *m_magnifier; }
    ScreenCommands &screenCommands() const { return *m_screen; }

  protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void showEvent(QShowEvent *) override;
    void changeEvent(QEvent *) override;
    void closeEvent(QCloseEvent *) override;
    void mouseMoveEvent(QMouseEvent *) override;
    void keyPressEvent(QKeyEvent *) override;
    bool focusNextPrevChild(bool next) override;

  private:
    // The small-screen rule (start-up and every resize).
    void buildPanelIcons();
    void connectRooms();
    void addShortcuts();
    void connectExercises();
    void connectRecovery();
    // The one rule of openings: where undo stops (see openingIsUndoable).
    void opened(Opening opening);
    void connectUndo();
    void buildMeasurements();
    void hidePanels();
    void startUp();
    void paintBackground(QPainter &p) const;

    VorlacEnvironment m_env;
    QString m_programDir;
    std::unique_ptr<SmallScreenRule> m_smallScreen;
    std::unique_ptr<StartMarker> m_marker;
    bool m_closeAccepted = false;

    SceneController *m_controller;
    HintLine *m_hints;
    Toolbar *m_toolbar;
    SceneFrame *m_sceneFrame;
    ProtractorPanel *m_protractorPanel;
    MaterialPanel *m_mediumPanel;
    MaterialPanel *m_prismPanel;
    DisplayPanel *m_displayPanel;
    SourcePanel *m_sourcePanel;
    LampPanel *m_lampPanel; // shown and hidden with the source panel
    TableFrame *m_tableFrame;
    ValueTable *m_valueTable;
    TableCommands *m_tableCommands;
    CopyMenu *m_copyMenu;
    ExerciseArea *m_exercises;
    ExerciseCommands *m_exerciseCommands = nullptr;
    ExerciseAuthoring *m_authoring = nullptr;
    SituationBinder *m_situations;
    RecoveryKeeper *m_recovery = nullptr;
    ProtractorModel *m_protractorModel = nullptr;
    WorkBinder *m_work = nullptr;
    std::unique_ptr<OutputCommands> m_output;
    UndoHistory *m_history = nullptr;
    std::unique_ptr<SceneUndoAccess> m_sceneUndo;
    UndoActions *m_undoActions = nullptr;
    QWidget *m_iconPicture;           // Picture1
    ClickLabel *m_panelIcons[5] = {}; // Image3(1..5)
    ClickLabel *m_measureIcon = nullptr;
    MeasurePanel *m_measurePanel = nullptr;
    FigureOptions *m_figureOptions = nullptr;
    ProjectionCommands *m_projection = nullptr;
    MagnifierCommands *m_magnifier = nullptr;
    ScreenCommands *m_screen = nullptr;
};

} // namespace vorlac
