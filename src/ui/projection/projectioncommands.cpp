#include "projection/projectioncommands.h"

#include "common/clicklabel.h"
#include "common/hintline.h"
#include "common/pictures.h"
#include "common/regional.h"
#include "projection/projectionwindow.h"
#include "scene/figureoptions.h"
#include "scene/protractorview.h"
#include "scene/scenecontroller.h"
#include "spectra/screencommands.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace vorlac
{

namespace
{
const QString kHint = QStringLiteral("Montrer la scène seule en plein écran, sur le second écran s'il y en a un "
                                     "(F11 ou Échap pour revenir)");
} // namespace

ProjectionCommands::ProjectionCommands(SceneController &controller, FigureOptions &options, HintLine &hints,
                                       QWidget *window)
    : QObject(window), m_controller(controller), m_options(options), m_hints(hints), m_window(window),
      m_action(new QAction(QStringLiteral("Projection"), window)), m_icon(new ClickLabel(window))
{
    m_action->setObjectName(QStringLiteral("projection"));
    m_action->setShortcut(QKeySequence(Qt::Key_F11));
    m_action->setShortcutContext(Qt::WindowShortcut);
    m_action->setToolTip(QStringLiteral("Projeter la scène en plein écran (F11)"));
    m_action->setStatusTip(kHint);
    window->addAction(m_action);
    connect(m_action, &QAction::triggered, this, &ProjectionCommands::toggle);
    // The marks show on the figure; a screen reader is told they come and go.
    connect(options.anglesAction(), &QAction::toggled, this, [this](bool on) {
        m_hints.announce(on ? QStringLiteral("Angles sur le schéma : affichés")
                            : QStringLiteral("Angles sur le schéma : retirés"));
    });
    options.menu()->addAction(m_action);

    // Between the medium's icon and the prism's, left of the hint line.
    m_icon->setObjectName(QStringLiteral("ImageProjection"));
    m_icon->setGeometry(24, 310, 108, 70);
    m_icon->setPixmap(svgPicture(QStringLiteral("icon_projection"), QSize(108, 70), window->devicePixelRatioF()));
    m_icon->setCursor(svgCursor(QStringLiteral("cursor_hand")));
    m_icon->setToolTip(QStringLiteral("Projeter la scène en plein écran (F11)"));
    m_icon->setAccessibleName(QStringLiteral("Projection"));
    m_icon->lower(); // under the panels, as the other icons
    hints.addHint(m_icon, kHint);
    connect(m_icon, &ClickLabel::clicked, this, &ProjectionCommands::toggle);
}

ProjectionWindow *ProjectionCommands::window() const
{
    return m_projection;
}

void ProjectionCommands::setProtractor(ProtractorView *protractor)
{
    m_protractor = protractor;
}

void ProjectionCommands::setScreen(ScreenCommands *screen)
{
    m_screen = screen;
}

void ProjectionCommands::toggle()
{
    if (m_projection) {
        m_projection->close();
        return;
    }
    m_projection = new ProjectionWindow(m_controller, m_options, m_window, m_protractor);
    // The main window's keys that act on the scene or the table (F9, Shift+F9) work there too.
    for (QAction *a : m_window->actions())
        if (a != m_action)
            m_projection->addAction(a);
    connect(m_projection, &ProjectionWindow::lampStepped, this, [this] {
        m_hints.announce(QStringLiteral("Incidence : %1°")
                             .arg(regionalLocale().toString(m_controller.state().incidenceAngle, 'f', 1)));
    });
    m_projection->setScreenCommands(m_screen);
    connect(m_projection, &ProjectionWindow::stripToggled, this, [this](bool shown) {
        m_hints.announce(shown ? QStringLiteral("Spectre observé : affiché en bas de la projection")
                               : QStringLiteral("Spectre observé : retiré de la projection"));
    });
    connect(m_projection, &QObject::destroyed, m_window, [w = m_window] { w->activateWindow(); });
    m_projection->showOnProjector();
}

} // namespace vorlac
