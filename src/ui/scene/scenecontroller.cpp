#include "scene/scenecontroller.h"

#include "model/glasscatalogue.h"
#include "model/lampgeometry.h"
#include "model/materials.h"

#include <QTimer>

namespace vorlac
{

namespace
{

constexpr int kWhiteLightDelayMs = 1500;

bool isListedMaterial(int row)
{
    return row >= 0 && row < kCustomMaterial;
}

} // namespace

SceneController::SceneController(QObject *parent) : QObject(parent), m_timer1(new QTimer(this))
{
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kWhiteLightDelayMs);
    connect(m_timer1, &QTimer::timeout, this, &SceneController::timer1Tick);
}

void SceneController::start()
{
    FillSpectrumColours(m_spectrumColour);
    m_state.incidenceAngle = 36.0;
    emit sceneChanged();
    redrawScene();
    redrawWhiteLight();
}

void SceneController::setApexAngle(int degrees)
{
    m_state.apexAngle = degrees;
    clampIncidence();
    m_whiteRedrawPending = true;
    m_timer1->stop();
    emit sceneChanged();
    emit edited(QStringLiteral("angle au sommet"));
    redrawScene();
}

void SceneController::setIncidenceAngle(double degrees)
{
    m_state.incidenceAngle = degrees;
    clampIncidence();
    emit sceneChanged();
    emit edited(QStringLiteral("angle d'incidence"));
    redrawScene();
    // A drag shows the quick preview and draws white light on release; any other move is final.
    if (!m_lampDragging && m_state.source == SourceType::WhiteLight)
        redrawWhiteLight();
}

void SceneController::setWavelength(int nm)
{
    m_state.wavelength = nm;
    emit sceneChanged();
    emit edited(QStringLiteral("longueur d'onde"));
    if (m_state.source == SourceType::Monochromatic)
        redrawScene();
    else
        remeasure();
}

void SceneController::setSource(SourceType source)
{
    m_state.source = source;
    if (source == SourceType::WhiteLight || source == SourceType::LineLamp) {
        m_state.showNormals = false;
        m_state.showPropagation = false;
    } else {
        m_state.showPropagation = true;
    }
    emit sceneChanged();
    emit edited(QStringLiteral("choix de la source"));
    redrawScene();
    if (source == SourceType::WhiteLight)
        redrawWhiteLight();
}

void SceneController::setLamp(int row)
{
    if (m_state.lampHidden) // the unknown lamp stays in the list, to come back to
        m_state.unknownLamp = m_state.lamp;
    m_state.lamp = row;
    m_state.lampHidden = false;
    emit sceneChanged();
    emit edited(QStringLiteral("choix de la lampe"));
    if (m_state.source == SourceType::LineLamp)
        redrawScene();
}

void SceneController::setUnknownLamp(int row)
{
    m_state.lamp = row;
    m_state.lampHidden = true;
    m_state.unknownLamp = -1;
    if (m_state.source != SourceType::LineLamp) {
        setSource(SourceType::LineLamp); // one step with the lamp: its own edited names it last
        emit edited(QStringLiteral("lampe inconnue"));
        return;
    }
    emit sceneChanged();
    emit edited(QStringLiteral("lampe inconnue"));
    redrawScene();
}

void SceneController::revealLamp()
{
    m_state.lampHidden = false;
    m_state.unknownLamp = -1;
    emit sceneChanged();
    emit edited(QStringLiteral("lampe révélée"));
    remeasure(); // what the figure hides has changed
}

void SceneController::setBlackBackground(bool black)
{
    m_state.blackBackground = black;
    emit sceneChanged();
    emit edited(QStringLiteral("couleur du fond"));
    redrawScene();
    if (m_state.source == SourceType::WhiteLight)
        redrawWhiteLight();
}

void SceneController::setMarks(bool normals, bool propagation)
{
    m_state.showNormals = normals;
    m_state.showPropagation = propagation;
    emit sceneChanged();
    emit edited(QStringLiteral("normales et sens de propagation"));
    redrawScene();
}

void SceneController::setMaterial(MaterialSide side, int row)
{
    const bool prism = side == MaterialSide::Prism;
    if (isListedMaterial(row)) {
        const Material &m = kMaterials[static_cast<std::size_t>(row)];
        (prism ? m_state.prismCauchyA : m_state.outsideCauchyA) = m.cauchyA;
        (prism ? m_state.prismCauchyB : m_state.outsideCauchyB) = m.cauchyB;
    } else if (row == kCustomMaterial) {
        m_customMaterialTarget = side;
    } else {
        return;
    }
    (prism ? m_state.prismMaterial : m_state.outsideMaterial) = row;
    if (prism && row != kCustomMaterial)
        forgetGlass();
    emit sceneChanged();
    emit edited(prism ? QStringLiteral("matériau du vorlac") : QStringLiteral("milieu extérieur"));
    redrawForMaterial();
}

void SceneController::setCustomMaterial(MaterialSide side, float cauchyA, float cauchyB)
{
    const bool prism = side == MaterialSide::Prism;
    m_customMaterialTarget = side;
    (prism ? m_state.prismCauchyA : m_state.outsideCauchyA) = cauchyA;
    (prism ? m_state.prismCauchyB : m_state.outsideCauchyB) = cauchyB;
    (prism ? m_state.prismMaterial : m_state.outsideMaterial) = kCustomMaterial;
    if (prism)
        forgetGlass();
    emit sceneChanged();
    emit edited(prism ? QStringLiteral("coefficients du vorlac") : QStringLiteral("coefficients du milieu extérieur"));
    redrawForMaterial();
}

void SceneController::setGlass(int row, bool hidden)
{
    if (row < 0 || row >= glassCount())
        return;
    const IndexLaw law = glassLaw(row);
    m_customMaterialTarget = MaterialSide::Prism;
    m_state.prismMaterial = kCustomMaterial;
    m_state.prismCauchyA = law.cauchyA;
    m_state.prismCauchyB = law.cauchyB;
    m_state.glass = row;
    m_state.glassHidden = hidden;
    emit sceneChanged();
    emit edited(hidden ? QStringLiteral("verre inconnu") : QStringLiteral("choix du verre"));
    redrawForMaterial();
}

void SceneController::revealGlass()
{
    if (!prismIndexHidden(m_state))
        return;
    m_state.glassHidden = false;
    emit sceneChanged();
    emit edited(QStringLiteral("verre révélé"));
    redrawForMaterial(); // the picture's measures carry the index again
}

void SceneController::forgetGlass()
{
    m_state.glass = -1;
    m_state.glassHidden = false;
}

void SceneController::redrawForMaterial()
{
    if (m_state.source == SourceType::WhiteLight)
        redrawWhiteLight();
    else
        redrawScene();
}

void SceneController::setState(const SceneState &state)
{
    m_timer1->stop();
    m_state = state;
    clampIncidence();
    m_whiteRedrawPending = false;
    m_lampDragging = false;
    // As choosing the two lists in turn would: the prism's first, then the medium's.
    if (state.prismMaterial == kCustomMaterial)
        m_customMaterialTarget = MaterialSide::Prism;
    if (state.outsideMaterial == kCustomMaterial)
        m_customMaterialTarget = MaterialSide::Outside;
    emit sceneChanged();
    emit edited(QStringLiteral("ouverture d'une situation"));
    redrawScene();
    redrawWhiteLight();
}

void SceneController::dragLamp(Qt::MouseButtons buttons, double x, double y)
{
    const std::optional<double> incidence =
        lampIncidence(x, y, layout().incidencePointX, m_state.apexAngle, m_state.incidenceAngle);
    if (!incidence)
        return;
    if (buttons == Qt::NoButton && m_lampDragging) {
        // The drag ended without a mouse-up on the lamp.
        m_lampDragging = false;
        m_whiteRedrawPending = false;
        if (m_state.source == SourceType::WhiteLight)
            redrawWhiteLight();
    }
    if (buttons == Qt::LeftButton) {
        m_lampDragging = true;
        setIncidenceAngle(*incidence);
    } else {
        m_lampDragging = false;
    }
}

void SceneController::releaseLamp()
{
    if (m_state.source == SourceType::WhiteLight && m_lampDragging)
        redrawWhiteLight();
}

void SceneController::stepLamp(double step)
{
    // Only white light has a picture waiting for the release.
    if (m_state.source == SourceType::WhiteLight)
        m_lampDragging = true;
    setIncidenceAngle(lampKeyIncidence(m_state.incidenceAngle, step));
}

void SceneController::setScreenRatio(double ratio)
{
    if (m_picture.screenRatio() == ratio || (ratio <= 1.0 && m_picture.screenImage.isNull()))
        return;
    m_picture.setScreenRatio(ratio);
    if (m_sceneRedraws == 0)
        return; // the first pictures, at start(), are drawn for it
    redrawScene();
    if (m_state.source == SourceType::WhiteLight)
        redrawWhiteLight();
}

void SceneController::store(const TraceLayout &layout)
{
    m_state.incidenceAngle = layout.incidenceAngle;
}

// The incidence as the trace will draw it, before any signal tells of the change.
void SceneController::clampIncidence()
{
    m_state.incidenceAngle = clampedIncidence(m_state);
}

void SceneController::publish(SceneFigure figure)
{
    m_figure = std::move(figure);
    ++m_figures;
    emit figureChanged();
}

void SceneController::remeasure()
{
    if (m_sceneRedraws == 0)
        return;
    // The lines stay: only the measured ray and what is hidden change.
    m_figure.state = m_state;
    measureFigure(m_figure, m_state.wavelength);
    m_picture.measures = m_figure.measures;
    ++m_figures;
    emit figureChanged();
}

void SceneController::refigure()
{
    if (m_sceneRedraws == 0)
        return; // start() draws the first pictures
    if (m_state.source == SourceType::WhiteLight && !m_lampDragging && !m_whiteRedrawPending)
        redrawWhiteLight();
    else
        redrawScene();
}

void SceneController::redrawScene()
{
    SceneFigure figure = traceFigure(m_state);
    if (m_dress)
        m_dress(figure);
    drawFigure(figure, m_picture);
    store(figure.layout);
    ++m_sceneRedraws;
    publish(std::move(figure));
    emit pictureRedrawn();
    if (m_whiteRedrawPending)
        m_timer1->start();
}

void SceneController::redrawWhiteLight()
{
    m_timer1->stop();
    if (m_state.source != SourceType::WhiteLight)
        return;
    emit whiteLightRedrawStarting();
    SceneFigure figure = traceFigure(m_state, &m_spectrumColour);
    if (m_dress)
        m_dress(figure);
    drawFigure(figure, m_picture);
    store(figure.layout);
    m_lampDragging = false;
    ++m_whiteRedraws;
    publish(std::move(figure));
    emit pictureRedrawn();
}

void SceneController::timer1Tick()
{
    if (m_state.source == SourceType::WhiteLight)
        redrawWhiteLight();
    m_whiteRedrawPending = false;
    m_timer1->stop();
}

} // namespace vorlac
