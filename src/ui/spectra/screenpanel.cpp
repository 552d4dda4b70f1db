#include "spectra/screenpanel.h"

#include "common/hintline.h"
#include "spectra/observedspectrumview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>

#include <cmath>

namespace vorlac
{

namespace
{

const QString kShownHint = QStringLiteral("Placer un écran après le prisme : chaque rayon émergent y arrive dans sa "
                                          "couleur, et le spectre observé s'affiche ci-dessous");
const QString kDistanceHint = QStringLiteral("Distance de l'écran au prisme, en millimètres, le long du faisceau "
                                             "émergent (de 20 à 3000 mm)");
const QString kTurnHint = QStringLiteral("Rotation de l'écran, en degrés, depuis la position face au faisceau "
                                         "émergent (de −80° à 80°, sens inverse des aiguilles d'une montre)");
const QString kLightHint = QStringLiteral("La lumière qui éclaire le prisme : celle de la source du montage, ou la "
                                          "lumière du Soleil avec ses raies sombres (raies de Fraunhofer)");
const QString kAbsorberHint = QStringLiteral("Ce que traverse la lumière entre la lampe et le prisme : un gaz, qui "
                                             "absorbe ses propres raies, ou un filtre coloré");
const QString kUnknownHint = QStringLiteral("Placer un absorbant tiré au hasard, dont le nom et les longueurs d'onde "
                                            "ne sont montrés nulle part : le retrouver par ses raies sombres");
const QString kRevealHint = QStringLiteral("Révéler le nom de l'absorbant inconnu");
const QString kViewHint = QStringLiteral(
    "Le spectre tel qu'on le voit sur l'écran : cliquer ou glisser pour lire la position et la longueur d'onde ; "
    "flèches (Ctrl : raie suivante), + et − : agrandir ; F9 : relever la raie la plus proche");
const QString kPanelHint =
    QStringLiteral("L'écran après le prisme et le spectre qu'on y observe ; F9 relève une raie dans le tableau");

QLabel *caption(QWidget *parent, const char *name, const QString &text, QRect geometry, QWidget *buddy)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setBuddy(buddy); // the control's name for screen readers
    return label;
}

} // namespace

ScreenPanel::ScreenPanel(HintLine &hints, QWidget *parent)
    : PanelFrame("PanneauEcran", {150, 332, 600, 196}, "LabelEcran", QStringLiteral("Écran et spectre observé"),
                 parent),
      m_hints(hints)
{
    m_shown = new QCheckBox(QStringLiteral("Écran"), this);
    m_shown->setObjectName(QStringLiteral("CaseEcran"));
    m_shown->setGeometry(6, 22, 64, 18);
    m_shown->setToolTip(QStringLiteral("Placer un écran après le prisme"));

    m_distance = new QSpinBox(this);
    m_distance->setObjectName(QStringLiteral("DistanceEcran"));
    m_distance->setGeometry(176, 20, 70, 21);
    m_distance->setRange(int(kScreenMinDistanceMm), int(kScreenMaxDistanceMm));
    m_distance->setSingleStep(10);
    m_distance->setKeyboardTracking(false); // a value being typed is not a change yet
    m_distance->setToolTip(QStringLiteral("Distance de l'écran au prisme (mm)"));
    caption(this, "LabelDistanceEcran", QStringLiteral("Distance (mm) :"), {84, 22, 90, 17}, m_distance);

    m_turn = new QSpinBox(this);
    m_turn->setObjectName(QStringLiteral("RotationEcran"));
    m_turn->setGeometry(344, 20, 60, 21);
    m_turn->setRange(-int(kScreenMaxTurnDegrees), int(kScreenMaxTurnDegrees));
    m_turn->setKeyboardTracking(false);
    m_turn->setToolTip(QStringLiteral("Rotation de l'écran (°)"));
    caption(this, "LabelRotationEcran", QStringLiteral("Rotation (°) :"), {258, 22, 84, 17}, m_turn);

    m_light = new QComboBox(this);
    m_light->setObjectName(QStringLiteral("ListeLumiereEcran"));
    m_light->setGeometry(70, 46, 146, 21);
    m_light->addItems({QStringLiteral("source du montage"), QStringLiteral("Soleil")});
    m_light->setToolTip(QStringLiteral("Lumière qui éclaire le prisme"));
    caption(this, "LabelLumiereEcran", QStringLiteral("Lumière :"), {6, 48, 62, 17}, m_light);

    m_absorber = new QComboBox(this);
    m_absorber->setObjectName(QStringLiteral("ListeAbsorbants"));
    m_absorber->setGeometry(296, 46, 150, 21);
    for (const Absorber &a : absorberChoices())
        m_absorber->addItem(absorberName(a));
    m_absorber->setPlaceholderText(QStringLiteral("(absorbant inconnu)"));
    m_absorber->setToolTip(QStringLiteral("Absorbant entre la lampe et le prisme"));
    caption(this, "LabelAbsorbant", QStringLiteral("Absorbant :"), {224, 48, 70, 17}, m_absorber);

    m_unknown = new QPushButton(QStringLiteral("Inconnu"), this);
    m_unknown->setObjectName(QStringLiteral("BoutonAbsorbantInconnu"));
    m_unknown->setGeometry(454, 46, 68, 21);
    m_unknown->setToolTip(QStringLiteral("Absorbant inconnu"));
    m_unknown->setAccessibleName(QStringLiteral("Absorbant inconnu"));
    m_reveal = new QPushButton(QStringLiteral("Révéler"), this);
    m_reveal->setObjectName(QStringLiteral("BoutonRevelerAbsorbant"));
    m_reveal->setGeometry(526, 46, 68, 21);
    m_reveal->setToolTip(QStringLiteral("Révéler l'absorbant"));
    m_reveal->setAccessibleName(QStringLiteral("Révéler l'absorbant"));

    m_view = new ObservedSpectrumView(this);
    m_view->setGeometry(1, 72, 598, 123);

    const std::pair<QWidget *, const QString &> hinted[] = {
        {this, kPanelHint},        {m_shown, kShownHint},   {m_distance, kDistanceHint},
        {m_turn, kTurnHint},       {m_light, kLightHint},   {m_absorber, kAbsorberHint},
        {m_unknown, kUnknownHint}, {m_reveal, kRevealHint}, {m_view, kViewHint}};
    for (const auto &[w, hint] : hinted)
        hints.addHint(w, hint);

    connect(m_shown, &QCheckBox::toggled, this, [this](bool on) {
        ScreenSettings s = m_settings;
        s.shown = on;
        change(s);
    });
    connect(m_distance, &QSpinBox::valueChanged, this, [this](int mm) {
        ScreenSettings s = m_settings;
        s.placement.distanceMm = mm;
        change(s);
    });
    connect(m_turn, &QSpinBox::valueChanged, this, [this](int degrees) {
        ScreenSettings s = m_settings;
        s.placement.turnDegrees = degrees;
        change(s);
    });
    connect(m_light, &QComboBox::activated, this, [this](int row) {
        ScreenSettings s = m_settings;
        s.sun = row == 1;
        change(s);
    });
    connect(m_absorber, &QComboBox::activated, this, [this](int row) {
        const std::vector<Absorber> choices = absorberChoices();
        if (row < 0 || row >= int(choices.size()))
            return;
        ScreenSettings s = m_settings;
        s.absorber = choices[std::size_t(row)];
        change(s);
    });
    connect(m_unknown, &QPushButton::clicked, this, [this] {
        ScreenSettings s = m_settings;
        s.absorber = unknownAbsorber(QRandomGenerator::global()->generate());
        change(s);
        m_hints.announce(QStringLiteral("Absorbant inconnu : un gaz ou un filtre tiré au hasard est placé devant le "
                                        "prisme ; le retrouver par ses raies sombres."));
    });
    connect(m_reveal, &QPushButton::clicked, this, [this] {
        ScreenSettings s = m_settings;
        s.absorber.hidden = false;
        change(s);
        m_hints.announce(QStringLiteral("L'absorbant était : ") + absorberName(m_settings.absorber) +
                         QStringLiteral("."));
    });
    showSettings();
}

void ScreenPanel::setSettings(const ScreenSettings &settings)
{
    m_settings = settingsWithinLimits(settings);
    showSettings();
}

void ScreenPanel::change(const ScreenSettings &settings)
{
    const ScreenSettings s = settingsWithinLimits(settings);
    if (s == m_settings)
        return;
    m_settings = s;
    showSettings();
    emit settingsChanged(m_settings);
}

void ScreenPanel::setSpectrum(const ScreenSpectrum &spectrum)
{
    m_view->setSpectrum(spectrum);
}

void ScreenPanel::clearSpectrum()
{
    m_view->clearSpectrum();
}

void ScreenPanel::showSettings()
{
    const QSignalBlocker b1(m_shown), b2(m_distance), b3(m_turn), b4(m_light), b5(m_absorber);
    m_shown->setChecked(m_settings.shown);
    m_distance->setValue(int(std::lround(m_settings.placement.distanceMm)));
    m_turn->setValue(int(std::lround(m_settings.placement.turnDegrees)));
    m_light->setCurrentIndex(m_settings.sun ? 1 : 0);
    m_absorber->setCurrentIndex(absorberChoiceRow(m_settings.absorber));
    const bool hidden = absorberChoiceRow(m_settings.absorber) < 0;
    m_reveal->setEnabled(hidden);
    for (QWidget *w :
         {static_cast<QWidget *>(m_distance), static_cast<QWidget *>(m_turn), static_cast<QWidget *>(m_view)})
        w->setEnabled(m_settings.shown);
}

} // namespace vorlac
