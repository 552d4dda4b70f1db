#include "panels/lamppanel.h"

#include "common/hintline.h"
#include "model/linelamps.h"
#include "model/scenestate.h"
#include "scene/scenecontroller.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>

namespace vorlac
{

namespace
{
const QString kOptionHint =
    QStringLiteral("Éclairer le vorlac avec une lampe spectrale : chaque raie de la lampe est tracée dans sa couleur");
const QString kListHint = QStringLiteral("Choisir la lampe spectrale : mercure, sodium, hydrogène, hélium... ; "
                                         "une lampe inconnue tirée y reste, sous « lampe inconnue »");
const QString kUnknownHint =
    QStringLiteral("Tirer au hasard une lampe dont le nom reste caché : mesurer ses raies pour l'identifier");
const QString kRevealHint = QStringLiteral("Afficher le nom de la lampe inconnue");
const QString kUnknownEntry = QStringLiteral("lampe inconnue");
} // namespace

QString LampPanel::panelHint()
{
    return kOptionHint;
}

LampPanel::LampPanel(SceneController &controller, HintLine &hints, QWidget *parent)
    : PanelFrame("PictureLampe", {420, 416, 170, 110}, "LabelLampe", QStringLiteral("Lampe spectrale"), parent),
      m_controller(controller), m_hints(hints)
{
    m_option = new QRadioButton(QStringLiteral("Lampe spectrale"), this);
    m_option->setObjectName(QStringLiteral("OptionLampe"));
    m_option->setGeometry(6, 20, 158, 18);
    m_option->setToolTip(kOptionHint);
    auto *caption = new QLabel(QStringLiteral("Lampe :"), this);
    caption->setObjectName(QStringLiteral("LabelListeLampes"));
    caption->setGeometry(6, 42, 44, 17);
    m_lamps = new QComboBox(this);
    m_lamps->setObjectName(QStringLiteral("ComboLampe"));
    m_lamps->setGeometry(52, 40, 112, 21);
    m_lamps->setToolTip(kListHint);
    caption->setBuddy(m_lamps); // the list's name for screen readers, its choice is its value
    for (int row = 0; row < lineLampCount(); ++row)
        m_lamps->addItem(lineLampName(row));
    m_lamps->setPlaceholderText(QStringLiteral("(lampe inconnue)"));
    m_unknown = new QPushButton(QStringLiteral("Lampe inconnue"), this);
    m_unknown->setObjectName(QStringLiteral("BoutonLampeInconnue"));
    m_unknown->setGeometry(6, 64, 158, 21);
    m_unknown->setToolTip(kUnknownHint);
    m_reveal = new QPushButton(QStringLiteral("Révéler la lampe"), this);
    m_reveal->setObjectName(QStringLiteral("BoutonReveler"));
    m_reveal->setGeometry(6, 86, 158, 21);
    m_reveal->setToolTip(kRevealHint);

    connect(m_option, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_controller.setSource(SourceType::LineLamp);
    });
    connect(m_lamps, &QComboBox::activated, this, &LampPanel::chooseLamp);
    connect(m_unknown, &QPushButton::clicked, this, &LampPanel::chooseUnknownLamp);
    connect(m_reveal, &QPushButton::clicked, this, [this] { m_controller.revealLamp(); });
    hints.addHint(this, kOptionHint);
    hints.addHint(m_option, kOptionHint);
    hints.addHint(m_lamps, kListHint);
    hints.addHint(m_unknown, kUnknownHint);
    hints.addHint(m_reveal, kRevealHint);
    connect(&controller, &SceneController::sceneChanged, this, [this] { showState(m_controller.state()); });
    showState(controller.state());
}

void LampPanel::showState(const SceneState &state)
{
    const QSignalBlocker b1(m_option), b2(m_lamps);
    // The option shares the source's choice with Option1, Option5 and Option2 of another panel.
    m_option->setAutoExclusive(false);
    m_option->setChecked(state.source == SourceType::LineLamp);
    m_option->setAutoExclusive(true);
    // Once drawn, the unknown lamp has its own entry after the named ones, so that the pupil can
    // light a known lamp and come back to it.
    const bool drawn = drawnUnknownLamp(state) >= 0;
    if (drawn != (m_lamps->count() > lineLampCount())) {
        if (drawn)
            m_lamps->addItem(kUnknownEntry);
        else
            m_lamps->removeItem(lineLampCount());
    }
    m_lamps->setCurrentIndex(state.lampHidden ? lineLampCount() : state.lamp);
    m_reveal->setEnabled(state.lampHidden);
    // A screen reader hears that the lamp is now to be found, however it was hidden.
    if (state.lampHidden && !m_saidHidden)
        m_hints.announce(QStringLiteral("Lampe inconnue : une lampe tirée au hasard éclaire le vorlac ; la "
                                        "retrouver par ses raies."));
    m_saidHidden = state.lampHidden;
}

void LampPanel::chooseLamp(int row)
{
    if (row < 0)
        return;
    if (row >= lineLampCount()) { // the unknown lamp's entry: the same lamp again
        if (const int unknown = drawnUnknownLamp(m_controller.state()); unknown >= 0)
            m_controller.setUnknownLamp(unknown);
        return;
    }
    // Choosing a lamp lights it: one step for both changes.
    m_controller.setLamp(row);
    if (m_controller.state().source != SourceType::LineLamp)
        m_controller.setSource(SourceType::LineLamp);
}

void LampPanel::chooseUnknownLamp()
{
    m_controller.setUnknownLamp(int(QRandomGenerator::global()->bounded(lineLampCount())));
}

} // namespace vorlac
