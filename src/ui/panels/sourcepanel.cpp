#include "panels/sourcepanel.h"

#include "common/hintline.h"
#include "common/panelstyle.h"
#include "common/pictures.h"
#include "model/scenetexts.h"
#include "scene/scenecontroller.h"

#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>

namespace vorlac
{

namespace
{
const QString kFineTuneHint =
    QStringLiteral("Pour affiner le réglage de la longueur d'onde, utiliser les boutons < et >");
}

SourcePanel::SourcePanel(SceneController &controller, HintLine &hints, QWidget *parent)
    : PanelFrame("Picture6", {152, 416, 265, 129}, "Label23", QStringLiteral("Source lumineuse"), parent),
      m_controller(controller), m_hints(hints)
{
    m_monochromatic = new QRadioButton(QStringLiteral("Monochromatique"), this);
    m_monochromatic->setObjectName(QStringLiteral("Option1"));
    m_monochromatic->setGeometry(6, 19, 254, 18);
    m_five = new QRadioButton(QStringLiteral("5 radiations ( 400 / 500 / 600 / 700 / 800 nm )"), this);
    m_five->setObjectName(QStringLiteral("Option5"));
    m_five->setGeometry(6, 37, 256, 18);
    m_white = new QRadioButton(QStringLiteral("lumière polychromatique blanche"), this);
    m_white->setObjectName(QStringLiteral("Option2"));
    m_white->setGeometry(6, 55, 254, 18);

    auto *spectrum = m_spectrum = new QLabel(this);
    spectrum->setObjectName(QStringLiteral("Image1"));
    spectrum->setGeometry(8, 76, 159, 31);
    spectrum->setAccessibleName(QStringLiteral("Spectre de la lumière visible"));
    m_wavelength = new QScrollBar(Qt::Horizontal, this);
    m_wavelength->setObjectName(QStringLiteral("HScroll1"));
    m_wavelength->setAccessibleName(QStringLiteral("Longueur d'onde (nm)"));
    m_wavelength->setGeometry(8, 108, 159, 17);
    m_wavelength->setRange(kMinWavelength, kMaxWavelength);
    m_wavelength->setSingleStep(1);
    m_wavelength->setPageStep(25);
    // A scroll bar inverts its keys (made for scrolling a view): here Right and Up raise λ, the
    // thumb going the way the arrow points.
    m_wavelength->setInvertedControls(false);
    addLabel(this, "Label6", QStringLiteral("λ ="), {176, 92, 24, 16});
    m_wavelengthValue = addLabel(this, "Label7", QString(), {200, 90, 32, 20});
    styleReadout(m_wavelengthValue);
    setBold(m_wavelengthValue);
    addLabel(this, "Label8", QStringLiteral("nm"), {236, 92, 24, 16});
    // Reaching a wavelength by the arrows takes as many clicks as nanometres: it can be typed,
    // and goes through the bar, which does the rest as if it had been moved.
    m_typed = new QSpinBox(this);
    m_typed->setObjectName(QStringLiteral("SaisieLambda"));
    m_typed->setGeometry(176, 108, 84, 18);
    m_typed->setRange(kMinWavelength, kMaxWavelength);
    m_typed->setSuffix(QStringLiteral(" nm"));
    m_typed->setKeyboardTracking(false);
    m_typed->setAccessibleName(QStringLiteral("Longueur d'onde tapée (nm)"));
    m_typed->setToolTip(QStringLiteral("Taper la longueur d'onde, de 400 à 800 nm, puis Entrée"));
    hints.addHint(m_typed, QStringLiteral("Taper la longueur d'onde voulue (400 à 800 nm) et valider par Entrée : le "
                                          "curseur s'y place."));
    connect(m_typed, &QSpinBox::valueChanged, m_wavelength, &QScrollBar::setValue);

    for (QRadioButton *option : {m_monochromatic, m_five, m_white})
        connect(option, &QRadioButton::toggled, this, [this, option](bool on) {
            if (on)
                onSourceChosen(option);
        });
    connect(m_wavelength, &QScrollBar::valueChanged, this, &SourcePanel::onWavelengthMoved);
    connect(m_wavelength, &QScrollBar::sliderReleased, this, [this] { m_hints.setInfo(kFineTuneHint); });
    hints.addHint(
        this,
        QStringLiteral("La longueur d'onde de la lumière émise par la source monochromatique varie de 400 à 800 nm"));
    hints.addHint(spectrum, kFineTuneHint);
    connect(&controller, &SceneController::sceneChanged, this, [this] { showState(m_controller.state()); });
    // The strip shows the lamp's lines only where the figure may show them.
    connect(&controller, &SceneController::figureChanged, this, [this] { showState(m_controller.state()); });
    showState(controller.state());
}

void SourcePanel::showState(const SceneState &state)
{
    const QSignalBlocker b1(m_monochromatic), b2(m_five), b3(m_white), b4(m_wavelength);
    // A lamp source checks none of the three (its option stands in the lamp panel).
    const bool lamp = state.source == SourceType::LineLamp;
    QRadioButton *option = lamp                                        ? nullptr
                           : state.source == SourceType::Monochromatic ? m_monochromatic
                           : state.source == SourceType::WhiteLight    ? m_white
                                                                       : m_five;
    // Only the buttons that change: every lamp step comes here.
    for (QRadioButton *o : {m_monochromatic, m_five, m_white})
        if (o->isChecked() != (o == option)) {
            o->setAutoExclusive(false);
            o->setChecked(o == option);
            o->setAutoExclusive(true);
        }
    // A hidden lamp lights a strip without lines: they are what the pupil is to measure.
    const bool linesShown = !state.lampHidden && !m_controller.figure().lampHidden();
    const int stripLamp = !lamp ? -1 : linesShown ? state.lamp : -3;
    if (stripLamp != m_stripLamp) {
        m_stripLamp = stripLamp;
        m_spectrum->setPixmap(
            !lamp ? spectrumStrip(QSize(159, 31), devicePixelRatioF())
                  : lampSpectrumStrip(linesShown ? state.lamp : -1, QSize(159, 31), devicePixelRatioF()));
    }
    m_wavelength->setValue(state.wavelength);
    {
        const QSignalBlocker b5(m_typed);
        m_typed->setValue(state.wavelength);
    }
    m_wavelengthValue->setText(wavelengthText(state.wavelength));
}

void SourcePanel::onSourceChosen(QRadioButton *option)
{
    if (option == m_white) {
        m_white->setCursor(Qt::WaitCursor);
        m_controller.setSource(SourceType::WhiteLight);
        m_white->unsetCursor();
    } else {
        m_controller.setSource(option == m_monochromatic ? SourceType::Monochromatic : SourceType::FiveRadiations);
    }
}

void SourcePanel::onWavelengthMoved(int nm)
{
    m_controller.setWavelength(nm);
    if (m_wavelength->isSliderDown())
        m_wavelengthValue->repaint(); // the value follows the thumb
    else
        m_hints.setInfo(kFineTuneHint);
}

} // namespace vorlac
