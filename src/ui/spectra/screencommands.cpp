#include "spectra/screencommands.h"

#include "common/hintline.h"
#include "scene/figureoptions.h"
#include "scene/scenecontroller.h"
#include "spectra/observedspectrumview.h"
#include "spectra/screenfigure.h"
#include "spectra/screenpanel.h"
#include "spectra/screenrecord.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <algorithm>

namespace vorlac
{

ScreenCommands::ScreenCommands(SceneController &controller, FigureOptions &options, HintLine &hints, QWidget *window)
    : QObject(window), m_controller(controller), m_options(options), m_hints(hints),
      m_panel(new ScreenPanel(hints, window)), m_action(new QAction(QStringLiteral("Écran et spectre observé"), window))
{
    m_panel->hide();
    m_panel->setMovable(true);
    m_action->setObjectName(QStringLiteral("ecranSpectre"));
    m_action->setShortcut(QKeySequence(Qt::Key_F7));
    m_action->setShortcutContext(Qt::WindowShortcut);
    m_action->setCheckable(true);
    m_action->setToolTip(QStringLiteral("Placer un écran après le prisme et voir le spectre observé (F7)"));
    m_action->setStatusTip(QStringLiteral("Un écran après le prisme : les rayons y arrivent dans leur couleur, et "
                                          "le spectre observé s'affiche, agrandi (F7 pour ouvrir ou fermer)"));
    window->addAction(m_action);
    options.menu()->addAction(m_action);
    connect(m_action, &QAction::triggered, this, &ScreenCommands::toggle);
    connect(m_panel, &PanelFrame::visibilityChanged, this, [this](bool visible) {
        m_action->setChecked(visible);
        recompute(); // the spectrum is computed only while someone sees it
    });
    connect(m_panel, &ScreenPanel::settingsChanged, this, &ScreenCommands::userEdited);
    // Another source chosen lights the prism in place of the Sun.
    connect(&controller, &SceneController::edited, this, [this] {
        if (!settings().sun || m_controller.state().source == SourceType::WhiteLight)
            return;
        ScreenSettings s = settings();
        s.sun = false;
        m_panel->setSettings(s);
        emit changed();
    });
    connect(&controller, &SceneController::figureChanged, this, &ScreenCommands::recompute);
    connect(m_panel->view(), &ObservedSpectrumView::shownChanged, this, &ScreenCommands::stripChanged);
    // Every figure has the screen's part: its light and the rays ending on it.
    controller.setFigureDressing([self = QPointer<ScreenCommands>(this)](SceneFigure &figure) {
        if (self)
            screenFigure(figure, self->settings());
    });
    options.setLayer([this] { return m_layer.has_value(); },
                     [this](QPainter &p) {
                         if (m_layer)
                             paintScreenLayer(p, *m_layer, m_controller.state().blackBackground);
                     });
}

const ScreenSettings &ScreenCommands::settings() const
{
    return m_panel->settings();
}

void ScreenCommands::setSettings(const ScreenSettings &settings)
{
    if (settingsWithinLimits(settings) == m_panel->settings())
        return;
    m_panel->setSettings(settings);
    redraw();
    emit changed();
}

void ScreenCommands::userEdited()
{
    // The Sun is a white light: the scene's source follows, in the same undo step.
    if (settings().sun && m_controller.state().source != SourceType::WhiteLight)
        m_controller.setSource(SourceType::WhiteLight);
    else
        redraw();
    emit changed();
    emit edited(QStringLiteral("écran"));
}

void ScreenCommands::place(const ScreenPlacement &placement)
{
    ScreenSettings s = settings();
    s.placement = placement;
    if (settingsWithinLimits(s) == settings())
        return;
    m_panel->setSettings(s);
    userEdited();
}

void ScreenCommands::redraw()
{
    const int figures = m_controller.figureCount();
    m_controller.refigure();
    if (m_controller.figureCount() == figures)
        recompute();
}

void ScreenCommands::toggle()
{
    if (!m_panel->isHidden()) {
        m_panel->hide();
        return;
    }
    if (!settings().shown) {
        ScreenSettings s = settings();
        s.shown = true;
        m_panel->setSettings(s);
        redraw();
        emit changed();
        emit edited(QStringLiteral("écran"));
    }
    m_panel->raise();
    m_panel->showWithFocus();
}

ScreenLayer ScreenCommands::layerOn(const ScreenFrame &frame) const
{
    const SceneFigure &figure = m_controller.figure();
    return {frame, screenMarks(figure, frame), figure.stop, settings().placement.distanceMm};
}

void ScreenCommands::recompute()
{
    const ScreenSettings &s = settings();
    const bool hadLayer = m_layer.has_value();
    m_layer.reset();
    m_spectrum.reset();
    ++m_generation;
    if (!s.shown) {
        m_panel->clearSpectrum();
        if (hadLayer)
            m_options.refreshLayer();
        emit stripChanged();
        return;
    }
    const SceneState &state = m_controller.state();
    if (!m_panel->isHidden() || m_stripWanted > 0) {
        const ScreenSpectrum spectrum(state, s.placement, screenSourceOf(state, s), s.absorber);
        if (spectrum.shown()) {
            m_spectrum = spectrum;
            m_panel->setSpectrum(spectrum);
        } else {
            m_panel->clearSpectrum();
        }
        if (spectrum.frame())
            m_layer = layerOn(*spectrum.frame());
    } else if (const std::optional<ScreenFrame> frame = screenFrame(state, s.placement)) {
        m_layer = layerOn(*frame);
    }
    if (hadLayer || m_layer)
        m_options.refreshLayer();
    emit stripChanged();
}

bool ScreenCommands::recordLine(ValueTable &table)
{
    if (!settings().shown || m_panel->isHidden())
        return false;
    ObservedSpectrumView *view = m_panel->view();
    const std::optional<ObservedLine> line = view->nearestLine();
    if (!line) {
        m_hints.announce(screenRecordMessage({}, ObservedLine{}, table));
        return true;
    }
    view->setCursorMm(line->positionMm);
    const ScreenRecordOutcome out = recordScreenLine(table, *line);
    m_hints.announce(screenRecordMessage(out, *line, table));
    if (out.status == ScreenRecordOutcome::Recorded)
        emit recorded(out.line);
    return true;
}

void ScreenCommands::setStripWanted(bool wanted)
{
    m_stripWanted = std::max(0, m_stripWanted + (wanted ? 1 : -1));
    recompute();
}

void ScreenCommands::pointStrip(double positionMm)
{
    if (!m_panel->isHidden() && m_panel->view()->hasSpectrum())
        m_panel->view()->setCursorMm(positionMm);
}

std::optional<ShownStrip> ScreenCommands::shownStrip() const
{
    if (!settings().shown)
        return std::nullopt;
    ShownStrip strip;
    strip.generation = m_generation;
    if (!m_spectrum)
        return strip;
    strip.spectrum = &*m_spectrum;
    const ObservedSpectrumView *view = m_panel->view();
    if (!m_panel->isHidden() && view->hasSpectrum()) {
        strip.fromMm = view->range().fromMm;
        strip.toMm = view->range().toMm;
        strip.cursorMm = view->cursorMm();
        strip.readout = view->readoutText();
    } else {
        const StripRange whole = m_spectrum->defaultRange(1);
        strip.fromMm = whole.fromMm;
        strip.toMm = whole.toMm;
    }
    return strip;
}

} // namespace vorlac
