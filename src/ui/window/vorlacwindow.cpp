#include "window/vorlacwindow.h"

#include "calculator/calculatorlauncher.h"
#include "common/accessiblenaming.h"
#include "common/accessiblewidgets.h"
#include "common/clicklabel.h"
#include "common/crlf.h"
#include "common/focusmarks.h"
#include "common/hintline.h"
#include "common/menus.h"
#include "common/panelplaces.h"
#include "common/pictures.h"
#include "common/programdirectory.h"
#include "common/regional.h"
#include "common/rounding.h"
#include "common/stalekeys.h"
#include "exercises/exercisearea.h"
#include "exercises/exerciseauthoring.h"
#include "exercises/exercisecommands.h"
#include "exercises/measuresinsert.h"
#include "grapher/grapheur.h"
#include "help/helpaccess.h"
#include "model/protractormodel.h"
#include "output/exports.h"
#include "output/outputcommands.h"
#include "output/printservice.h"
#include "output/scenereport.h"
#include "panels/displaypanel.h"
#include "panels/lamppanel.h"
#include "panels/materialpanel.h"
#include "panels/measuregridaccessible.h"
#include "panels/measureicon.h"
#include "panels/measurepanel.h"
#include "panels/panelframe.h"
#include "panels/panelicons.h"
#include "panels/panelplacement.h"
#include "panels/protractorpanel.h"
#include "panels/sourcepanel.h"
#include "panels/tableframe.h"
#include "projection/magnifiercommands.h"
#include "projection/projectioncommands.h"
#include "recovery/recoverykeeper.h"
#include "recovery/workbinder.h"
#include "recovery/workwatcher.h"
#include "scene/figureoptions.h"
#include "scene/sceneaccessible.h"
#include "scene/scenecontroller.h"
#include "scene/sceneframe.h"
#include "scene/sceneview.h"
#include "situations/situationbinder.h"
#include "spectra/screencommands.h"
#include "spectra/screenmouse.h"
#include "spectra/screenpanel.h"
#include "spectra/spectrumaccessible.h"
#include "sweeps/sweepcommand.h"
#include "table/tablecommands.h"
#include "table/valuegrid.h"
#include "table/valuetable.h"
#include "window/copymenu.h"
#include "window/coveredcontrols.h"
#include "window/smallscreenrule.h"
#include "window/startmarker.h"
#include "window/toolbar.h"
#include "window/undoactions.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>
#include <algorithm>

namespace vorlac
{

namespace
{

const QString kStartHint = QStringLiteral("Vous pouvez modifier les paramètres,") + kCrLf +
                           QStringLiteral("ouvrir une configuration ou un exercice");
const QString kCopyConfirmation =
    QStringLiteral("L'image est copiée: vous pouvez la retrouver depuis toute application Windows (coller)");

} // namespace

Vorlac::Vorlac(VorlacEnvironment environment, QWidget *parent)
    : QWidget(parent), m_env(std::move(environment)),
      m_programDir(m_env.programDirectory.isEmpty() ? findProgramDirectory(QCoreApplication::applicationDirPath())
                                                    : m_env.programDirectory),
      m_controller(new SceneController(this))
{
    if (!m_programDir.endsWith(QLatin1Char('/')) && !m_programDir.endsWith(QDir::separator()))
        m_programDir += QLatin1Char('/');
    m_smallScreen = std::make_unique<SmallScreenRule>(*this, m_env.screenSize);
    m_marker = std::make_unique<StartMarker>(m_programDir,
                                             m_env.stateDirectory.isEmpty() ? userStateFolder() : m_env.stateDirectory);
    setObjectName(QStringLiteral("Vorlac"));
    setWindowTitle(QStringLiteral("Le vorlac"));
    resize(786, 571);
    setMouseTracking(true);
    // Screen readers: every widget named as it is polished, the scene read through its own view.
    qApp->installEventFilter(new AccessibleNaming(this));
    // The controls' focus marks follow the keyboard, not the clicks.
    qApp->installEventFilter(new FocusMarks(this));
    qApp->installEventFilter(new StaleKeyFilter(this));
    QAccessible::installFactory(programAccessibleFactory);
    QAccessible::installFactory(hintLineAccessibleFactory);
    QAccessible::installFactory(sceneAccessibleFactory);
    QAccessible::installFactory(observedSpectrumAccessibleFactory);
    QAccessible::installFactory(measureGridAccessibleFactory);

    // Creation order is stacking order: the panels lie over their icons.
    m_hints = new HintLine(this);
    m_hints->setGeometry(184, 296, 233, 33);
    auto *hintIcon = new QLabel(this);
    hintIcon->setObjectName(QStringLiteral("Image2"));
    hintIcon->setGeometry(144, 296, 32, 32);
    hintIcon->setAccessibleName(QStringLiteral("Icône de la ligne d'aide"));
    hintIcon->setPixmap(svgPicture(QStringLiteral("hint"), QSize(32, 32), devicePixelRatioF()));
    buildPanelIcons();
    m_toolbar = new Toolbar(*m_hints, this);
    m_sceneFrame = new SceneFrame(*m_controller, *m_hints, this);
    m_figureOptions = new FigureOptions(
        *m_controller,
        QDir(m_env.stateDirectory.isEmpty() ? userStateFolder() : m_env.stateDirectory).filePath("affichage.txt"),
        this);
    m_sceneFrame->view()->setFigureOptions(m_figureOptions);
    m_protractorPanel = new ProtractorPanel(*m_hints, this);
    m_mediumPanel = new MaterialPanel(MaterialSide::Outside, *m_controller, *m_hints, m_env.messenger, this);
    m_prismPanel = new MaterialPanel(MaterialSide::Prism, *m_controller, *m_hints, m_env.messenger, this);
    m_displayPanel = new DisplayPanel(*m_controller, *m_hints, this);
    m_sourcePanel = new SourcePanel(*m_controller, *m_hints, this);
    for (QWidget *w : std::initializer_list<QWidget *>{m_displayPanel, m_sceneFrame->view()})
        m_figureOptions->offerMenuOn(w);
    m_projection = new ProjectionCommands(*m_controller, *m_figureOptions, *m_hints, this);
    m_magnifier = new MagnifierCommands(*m_controller, *m_figureOptions, *m_hints, this);
    m_screen = new ScreenCommands(*m_controller, *m_figureOptions, *m_hints, this);
    new ScreenMouse(*m_screen, *m_sceneFrame->view(), *m_hints); // owned by the view
    m_lampPanel = new LampPanel(*m_controller, *m_hints, this);
    connect(m_sourcePanel, &PanelFrame::visibilityChanged, m_lampPanel, [this](bool visible) {
        m_lampPanel->setVisible(visible);
        if (visible)
            m_lampPanel->raise(); // over the exercise text, beside the source panel
    });
    m_tableFrame = new TableFrame(this);
    m_valueTable = new ValueTable(this);
    auto *grid = new ValueGrid(*m_valueTable);
    m_tableFrame->setGrid(grid);
    m_tableCommands = new TableCommands(*m_valueTable, *grid, *m_tableFrame->tableMenu(), *m_tableFrame->columnMenu(),
                                        m_env.messenger, this);
    connect(grid, &ValueGrid::hintChanged, m_hints, &HintLine::setInfo);
    connect(m_valueTable, &ValueTable::numberKept, m_hints, [this](const QString &text) { m_hints->announce(text); });
    m_exercises = new ExerciseArea(*m_hints, this);
    m_copyMenu = new CopyMenu(this);
    buildMeasurements();
    connectRooms();
    // The free scroll bars (VScroll1, HScroll1) are reached with Tab like every control; a click
    // leaves the focus where it was, as before.
    for (QScrollBar *bar : findChildren<QScrollBar *>())
        if (bar->focusPolicy() == Qt::NoFocus &&
            !qobject_cast<QAbstractScrollArea *>(bar->parentWidget()->parentWidget()))
            bar->setFocusPolicy(Qt::TabFocus);
    setWindowState(Qt::WindowMaximized); // designed maximized; the small-screen rule may undo it
    startUp();
    connectExercises(); // needs the program directory found at start-up
    connectUndo();      // the state after start-up is where undo stops
    connectRecovery();
}

Vorlac::~Vorlac()
{
    QAccessible::removeFactory(measureGridAccessibleFactory);
    QAccessible::removeFactory(observedSpectrumAccessibleFactory);
    QAccessible::removeFactory(sceneAccessibleFactory);
    QAccessible::removeFactory(hintLineAccessibleFactory);
    QAccessible::removeFactory(programAccessibleFactory);
    m_history->setScene(nullptr);
}

bool Vorlac::focusNextPrevChild(bool next)
{
    const CoveredControls covered(*this);
    return QWidget::focusNextPrevChild(next);
}

void Vorlac::connectUndo()
{
    WorkBinder::Parts work;
    work.scene = m_controller;
    work.table = m_valueTable;
    work.situations = m_situations;
    work.protractor = m_protractorModel;
    work.exercises = m_exercises;
    work.exerciseCommands = m_exerciseCommands;
    work.authoring = m_authoring;
    work.screen = m_screen;
    m_history = new UndoHistory(*m_valueTable, this);
    work.history = m_history;
    m_work = new WorkBinder(work, this);
    m_sceneUndo = std::make_unique<SceneUndoAccess>(*m_work, *m_history);
    m_history->setScene(m_sceneUndo.get());
    m_undoActions = new UndoActions(*m_history, *m_tableFrame->tableMenu(), *this, *m_hints);
    // The sweep fills the table: the measurements panel's button and Shift+F9 anywhere in the window.
    auto *sweep = new SweepCommand(*m_controller, *m_valueTable, *m_hints, m_env.messenger, *this,
                                   [this](const SweepChoice &last) { return askSweepChoice(this, m_hints, last); });
    connect(m_measurePanel, &MeasurePanel::sweepRequested, sweep, &SweepCommand::run);
    addAction(sweep->action());
    connect(m_situations, &SituationBinder::situationOpened, this, [this] { opened(Opening::Situation); });
}

void Vorlac::opened(Opening opening)
{
    // Undo puts back only what it keeps: past an opening that replaced more (a file name, an
    // exercise's text), it would mix the old work with the new. The opened work is the start.
    if (openingIsUndoable(opening))
        return;
    m_history->closeStep();
    m_history->clear();
}

QString Vorlac::copyConfirmation() const
{
    return kCopyConfirmation;
}

const SceneState &Vorlac::scene() const
{
    return m_controller->state();
}
const ScenePicture &Vorlac::picture() const
{
    return m_controller->picture();
}

void Vorlac::buildPanelIcons()
{
    const PanelIcons icons = makePanelIcons(*this, *m_hints);
    m_iconPicture = icons.picture;
    std::copy(icons.icons.begin(), icons.icons.end(), m_panelIcons);
}

void Vorlac::connectRooms()
{
    PanelFrame *panels[] = {m_prismPanel, m_mediumPanel, m_displayPanel, m_sourcePanel};
    for (int i = 0; i < 4; ++i) {
        panels[i]->setOpener(m_panelIcons[i]);
        connect(m_panelIcons[i], &ClickLabel::clicked, panels[i], [icon = m_panelIcons[i], panel = panels[i]] {
            // Opened from the keyboard, the panel takes the focus.
            icon->hasFocus() ? panel->showWithFocus() : panel->show();
        });
    }
    m_protractorPanel->setOpener(m_panelIcons[4]);
    connect(m_panelIcons[4], &ClickLabel::clicked, m_protractorPanel, &ProtractorPanel::open);
    connect(m_tableCommands, &TableCommands::graphRequested, this, [this] {
        Grapheur(*m_valueTable, &m_output->printService(), m_env.messenger, this, &m_output->exports()).exec();
    });

    connect(m_toolbar->closeButton(), &QToolButton::clicked, this, &QWidget::close);
    connect(m_toolbar->copyButton(), &QToolButton::clicked, this, [this] {
        // A click opens the menu at the pointer; Space, Enter or Alt+P (the pointer elsewhere)
        // under the button.
        QToolButton *b = m_toolbar->copyButton();
        const bool byMouse = b->rect().contains(b->mapFromGlobal(QCursor::pos()));
        m_copyMenu->popup(byMouse ? QCursor::pos() : b->mapToGlobal(QPoint(0, b->height())));
    });
    connect(m_toolbar->tableToggle(), &QToolButton::toggled, m_tableFrame, &QWidget::setVisible);
    connect(m_tableFrame, &TableFrame::hideRequested, this, [this] { m_toolbar->tableToggle()->setChecked(false); });

    // The launcher keeps the calculator's memory for the whole run.
    auto *calculator = new CalculatorLauncher(m_env.messenger, this);
    calculator->setTable(m_valueTable);
    connect(m_toolbar->calculatorButton(), &QToolButton::clicked, calculator, &CalculatorLauncher::openPlain);
    connect(m_tableCommands, &TableCommands::computeColumnRequested, calculator, [calculator](int col, bool recalc) {
        recalc ? calculator->recalculateColumn(col) : calculator->calculateColumn(col);
    });
    m_situations = new SituationBinder(*m_controller, *m_valueTable, this, m_env.messenger);
    m_situations->setScreenAccess([this] { return m_screen->settings(); },
                                  [this](const ScreenSettings &s) { m_screen->setSettings(s); });
    connect(m_toolbar->saveButton(), &QToolButton::clicked, m_situations, &SituationBinder::showSaveDialog);
    connect(m_toolbar->openButton(), &QToolButton::clicked, m_situations, &SituationBinder::showOpenDialog);
    // Printing and copying read the figure and the report texts at the moment they run.
    OutputCommands::Sources out;
    out.print.figure = [this] {
        return m_figureOptions->markedFigure(figureWithOverlays(picture(), lampPicture().toImage()));
    };
    out.print.report = [this] { return sceneReportTexts(scene()); };
    out.print.table = m_valueTable;
    out.setInfo = [this](const QString &t) { m_hints->announce(t); };
    out.copyConfirmation = kCopyConfirmation;
    m_output = std::make_unique<OutputCommands>(std::move(out), m_env.messenger);
    // File dialogs start beside the work at hand (read when each one opens).
    m_output->dialogFolders().setWork(
        {[this] { return m_situations->situationFileName(); },
         [this] { return m_exerciseCommands ? m_exerciseCommands->openExerciseFolder() : QString(); }});
    m_output->setFigureVector([this](QPainter &p) {
        const QImage lamp = lampPicture().toImage();
        paintFigureVector(p, m_controller->figure(), picture().image, &lamp);
        m_figureOptions->paintMarks(p);
    });
    connect(m_toolbar->printButton(), &QToolButton::clicked, this, [this] { m_output->openPrintWindow(this); });
    connect(m_copyMenu->sceneAction(), &QAction::triggered, this, [this] { m_output->copyFigure(this); });
    connect(m_copyMenu->tableImageAction(), &QAction::triggered, this, [this] { m_output->copyTablePicture(this); });
    connect(m_copyMenu->tableTextAction(), &QAction::triggered, this, [this] {
        // The whole grid is left selected; the active cell stays on its data line.
        if (m_output->copyTableText(this))
            if (auto *view = qobject_cast<QAbstractItemView *>(m_tableFrame->grid()))
                view->selectAll();
    });
    connect(m_copyMenu->figureExportAction(), &QAction::triggered, this, [this] { m_output->exportFigure(this); });
    connect(m_copyMenu->tableExportAction(), &QAction::triggered, this, [this] { m_output->exportTable(this); });
    relayStatusTips(m_copyMenu, [this](const QString &t) { setInfo(t); });
    relayStatusTips(m_figureOptions->menu(), [this](const QString &t) { setInfo(t); });
    relayStatusTips(m_tableFrame->tableMenu(), [this](const QString &t) { setInfo(t); });
    relayStatusTips(m_tableFrame->columnMenu(), [this](const QString &t) { setInfo(t); });
    auto *help = new HelpAccess(this, m_programDir, m_env.messenger);
    connect(m_toolbar->helpButton(), &QToolButton::clicked, help, &HelpAccess::showHelp);
    addShortcuts();
    connect(m_toolbar->courseButton(), &QToolButton::clicked, help, &HelpAccess::showCourse);
    connect(m_toolbar->notationsButton(), &QToolButton::clicked, help, &HelpAccess::showNotations);
}

void Vorlac::addShortcuts()
{
    // The usual desktop keys for the toolbar's commands; the buttons' own Alt letters stay.
    const std::pair<QKeySequence, QToolButton *> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_O), m_toolbar->openButton()},
        {QKeySequence(Qt::CTRL | Qt::Key_S), m_toolbar->saveButton()},
        {QKeySequence(Qt::CTRL | Qt::Key_P), m_toolbar->printButton()},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), m_toolbar->closeButton()},
    };
    for (const auto &[key, button] : keys) {
        auto *shortcut = new QShortcut(key, this);
        shortcut->setObjectName(QStringLiteral("shortcut_") + button->objectName());
        connect(shortcut, &QShortcut::activated, button, &QToolButton::click);
    }
}

void Vorlac::buildMeasurements()
{
    // Beside the display and source icons, its picture within the table's width and below the
    // display panel; the source panel and the table cover it, so it hides under them.
    m_measureIcon = new KeyPanelIcon(this);
    m_measureIcon->setObjectName(QStringLiteral("ImageMesures"));
    m_measureIcon->setGeometry(322, 403, 108, 70);
    m_measureIcon->setPixmap(svgPicture(QStringLiteral("icon_measures"), QSize(108, 70), devicePixelRatioF()));
    m_measureIcon->setCursor(svgCursor(QStringLiteral("cursor_hand")));
    m_measureIcon->setToolTip(QStringLiteral("Afficher les mesures"));
    m_measureIcon->setAccessibleName(QStringLiteral("Mesures"));
    m_measureIcon->lower(); // under the panels, as the other icons
    m_hints->addHint(m_measureIcon,
                     QStringLiteral("Afficher les angles, les indices et le minimum de déviation du rayon tracé"));
    const auto coverIcon = [this] {
        m_measureIcon->setVisible(m_sourcePanel->isHidden() && !m_toolbar->tableToggle()->isChecked());
    };
    connect(m_sourcePanel, &PanelFrame::visibilityChanged, m_measureIcon, coverIcon);
    connect(m_toolbar->tableToggle(), &QToolButton::toggled, m_measureIcon, coverIcon);
    m_measurePanel = new MeasurePanel(*m_controller, *m_valueTable, *m_hints, m_env.messenger, this);
    // The angle precision is kept with the display choices for the next start.
    m_measurePanel->setAngleDecimals(m_figureOptions->settings().angleDecimals);
    connect(m_measurePanel, &MeasurePanel::angleDecimalsChosen, m_figureOptions, &FigureOptions::setAngleDecimals);
    connect(m_figureOptions, &FigureOptions::changed, m_measurePanel,
            [this] { m_measurePanel->setAngleDecimals(m_figureOptions->settings().angleDecimals); });
    // Movable, first beside the designed window when it has room, else over the exercise text.
    const QString state = m_env.stateDirectory.isEmpty() ? userStateFolder() : m_env.stateDirectory;
    new PanelPlacement(*m_measurePanel, QDir(state).filePath(QStringLiteral("panneaux.txt")),
                       [this](QSize window) { return defaultMeasurePlace(m_measurePanel->size(), window); });
    m_hints->addHint(m_measurePanel->titleBar(),
                     QStringLiteral("Cliquer pour fermer ; faire glisser pour déplacer (ou Alt+flèches)"));
    m_measurePanel->setOpener(m_measureIcon);
    connect(m_measureIcon, &ClickLabel::clicked, m_measurePanel,
            [this] { m_measureIcon->hasFocus() ? m_measurePanel->showWithFocus() : m_measurePanel->show(); });
    connect(m_measurePanel, &MeasurePanel::recorded, this, [this](int line) {
        // The grid shows the line just written (its model rows start at data line 1).
        if (auto *view = qobject_cast<QAbstractItemView *>(m_tableFrame->grid()))
            view->scrollTo(view->model()->index(line - 1, 0));
    });
    // F9 records from anywhere in the window, with the panel shown or not; the screen's line while it is shown.
    auto *record = new QAction(QStringLiteral("Relever la mesure"), this);
    record->setObjectName(QStringLiteral("releveMesure"));
    record->setShortcut(QKeySequence(Qt::Key_F9));
    record->setShortcutContext(Qt::WindowShortcut);
    connect(record, &QAction::triggered, this, [this] {
        if (!m_screen->recordLine(*m_valueTable))
            m_measurePanel->record();
    });
    connect(m_screen, &ScreenCommands::recorded, m_measurePanel, &MeasurePanel::recorded); // the grid shows the line
    addAction(record);
}

void Vorlac::connectExercises()
{
    ExerciseCommands::Parts parts;
    parts.area = m_exercises;
    parts.situations = m_situations;
    parts.print = &m_output->printService();
    parts.window = this;
    parts.programDirectory = m_programDir;
    parts.hidePanels = [this] { hidePanels(); };
    parts.workReplaced = [this] { opened(Opening::Exercise); };
    parts.folders = &m_output->dialogFolders();
    m_exerciseCommands = new ExerciseCommands(std::move(parts), m_env.messenger);
    const std::pair<const char *, void (ExerciseCommands::*)()> items[] = {
        {"PRISENMAIN", &ExerciseCommands::PRISENMAIN}, {"openexo", &ExerciseCommands::openexo},
        {"opencor", &ExerciseCommands::opencor},       {"savetexte", &ExerciseCommands::savetexte},
        {"opentexte", &ExerciseCommands::opentexte},   {"imprimetexte", &ExerciseCommands::imprimetexte},
        {"Closexo", &ExerciseCommands::Closexo},
    };
    for (const auto &[name, command] : items)
        connect(m_exercises->menuAction(name), &QAction::triggered, m_exerciseCommands, command);

    ExerciseAuthoring::Parts authoring;
    authoring.area = m_exercises;
    authoring.situations = m_situations;
    authoring.hints = m_hints;
    authoring.window = this;
    authoring.measures = [this] { return measuresAsText(m_controller->figure(), regionalLocale()); };
    authoring.exerciseInUse = [this] { return m_exercises->session().fileName(); };
    authoring.folders = &m_output->dialogFolders();
    authoring.showWritten = [this](const QString &path) {
        m_exerciseCommands->showWrittenExercise(path, [this] { return m_authoring->finish(); });
    };
    authoring.nameStep = [this](const QString &label) { m_history->nameStep(label); };
    m_authoring = new ExerciseAuthoring(std::move(authoring), m_env.messenger);
}

void Vorlac::connectRecovery()
{
    RecoveryKeeper::Parts parts;
    parts.exercises = m_exercises;
    parts.authoring = m_authoring;
    parts.work = m_work;
    parts.window = this;
    parts.hints = m_hints;
    parts.workReplaced = [this] { opened(Opening::SetAside); };
    const QString folder = m_env.stateDirectory.isEmpty() ? RecoveryStore::defaultFolder() : m_env.stateDirectory;
    m_recovery = new RecoveryKeeper(parts, folder, m_env.messenger, m_env.recoveryTiming);
    // The work set aside is found where situations are opened.
    m_situations->setOpenDialogExtra([this](QDialog &dialog) { m_recovery->addSetAsideButton(dialog); });
}

bool Vorlac::offerRecovery(const QString &fileToOpen)
{
    const bool openFile = m_recovery->offer(fileToOpen);
    // Restored work is where undo stops, as the start-up state is.
    opened(Opening::RestoredWork);
    return openFile;
}

void Vorlac::hidePanels()
{
    m_toolbar->tableToggle()->setChecked(false);
    for (QWidget *panel :
         std::initializer_list<QWidget *>{m_protractorPanel, m_prismPanel, m_mediumPanel, m_sourcePanel, m_displayPanel,
                                          m_measurePanel, m_screen->panel()})
        panel->hide();
}

// ---------------------------------------------------------------------------------------------
// Start-up and the window frame

void Vorlac::startUp()
{
    m_valueTable->setTableNumberFormat(QStringLiteral("########0.000"));
    m_marker->write(QStringLiteral("OUI"));

    m_smallScreen->apply();
    m_exercises->showIntroduction();
    setInfo(kStartHint);
    m_controller->start();
    m_protractorModel = new ProtractorModel(this);
    m_protractorPanel->attachProtractor(*m_controller, m_sceneFrame->view(), *m_protractorModel);
    m_projection->setProtractor(m_protractorPanel->protractor());
    m_projection->setScreen(m_screen);

    m_hints->keepWhileHovering(m_toolbar->copyButton(), kCopyConfirmation);
}

void Vorlac::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    m_smallScreen->apply();
}

void Vorlac::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    m_smallScreen->apply();
}

void Vorlac::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange)
        m_smallScreen->apply();
}

void Vorlac::paintBackground(QPainter &p) const
{
    // White at the top to RGB(200, 200, 180) at line 600; the rest keeps the last colour.
    // Each line is a one-pixel-high rectangle: at any device pixel ratio they tile without a gap
    // (lines drawn with a pen left a bare row at ratio 2).
    const int w = std::max(800, width());
    for (int y = 0; y <= 600; ++y) {
        const int r = toInt16(255 - 55.0 * y / 600);
        const int b = toInt16(255 - 75.0 * y / 600);
        p.fillRect(QRect(0, y, w + 1, 1), QColor(r, r, b));
    }
    if (height() > 601)
        p.fillRect(0, 601, w + 1, height() - 601, QColor(200, 200, 180));
    // The shadow of the exercise area, 3 pixels to the right and below.
    const QRect area = m_exercises->geometry();
    p.fillRect(QRect(area.topLeft() + QPoint(3, 3), area.bottomRight() + QPoint(4, 4)), QColor(128, 128, 128));
}

void Vorlac::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintBackground(p);
}

void Vorlac::keyPressEvent(QKeyEvent *e)
{
    // Ctrl+Tab leaves the controls where Tab has a use of its own (the grid, the exercise text).
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if ((e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) && (mods & Qt::ControlModifier) &&
        !(mods & Qt::AltModifier)) {
        focusNextPrevChild(e->key() == Qt::Key_Tab && !(mods & Qt::ShiftModifier));
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void Vorlac::mouseMoveEvent(QMouseEvent *e)
{
    // Moves that a child left unhandled come here too; only the background itself counts.
    if (!childAt(e->position().toPoint()))
        setInfo(kStartHint);
    QWidget::mouseMoveEvent(e);
}

QString Vorlac::info() const
{
    return m_hints->info();
}

void Vorlac::setInfo(const QString &text)
{
    m_hints->setInfo(text);
}

void Vorlac::closeEvent(QCloseEvent *e)
{
    if (m_closeAccepted) {
        e->accept();
        return;
    }
    const Messenger &m = m_env.messenger;
    if (m_exercises->session().exerciseTextModified() &&
        m.ask(this, QMessageBox::Question, QStringLiteral("Abandon des données?"),
              QStringLiteral("Attention: perte des modifications du texte."),
              QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        e->ignore();
        return;
    }
    if (m.ask(this, QMessageBox::Question, QStringLiteral("Fermer"), QStringLiteral("Fermer ce simulateur ?"),
              QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        e->ignore();
        return;
    }
    m_marker->write(QStringLiteral("NON"));
    m_recovery->discard();
    m_closeAccepted = true;
    e->accept();
    if (m_env.endProgram)
        m_env.endProgram();
    else
        QCoreApplication::exit(0);
}

} // namespace vorlac
