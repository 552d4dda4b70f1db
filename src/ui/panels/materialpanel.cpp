#include "panels/materialpanel.h"

#include "common/crlf.h"
#include "common/hintline.h"
#include "common/menus.h"
#include "common/panelstyle.h"
#include "common/updown.h"
#include "model/glasscatalogue.h"
#include "model/materials.h"
#include "model/scenetexts.h"
#include "panels/indexlawdialog.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QRandomGenerator>

namespace vorlac
{

namespace
{

// The two panels differ by their names, their title and where the material part starts.
struct PanelLayout {
    const char *name, *titleName;
    QString title;
    QRect geometry;
    const char *materialLabel, *list, *vacuumText, *lambdaLabel, *wavelength, *indexLabel, *index;
    int materialY, listY, vacuumY, lambdaY, indexLabelY, indexY;
    QString tooltip, focusHint;
};

PanelLayout layoutFor(MaterialSide side)
{
    if (side == MaterialSide::Prism)
        return {"Picture4",
                "Label19",
                QStringLiteral("Paramétrer le vorlac"),
                {8, 336, 129, 209},
                "Label12",
                "Combo1",
                "Label22",
                "Label18",
                "Label20",
                "Label21",
                "Label4",
                66,
                82,
                108,
                140,
                160,
                180,
                QStringLiteral("Définir le matériau constituant le vorlac"),
                QStringLiteral("Vous pouvez choisir le matériau constituant le vorlac dans la liste ou en définir un "
                               "autre")};
    return {"Picture5",
            "Label32",
            QStringLiteral("Milieu extérieur"),
            {8, 176, 129, 153},
            "Label27",
            "Combo2",
            "Label9",
            "Label13",
            "Label14",
            "Label15",
            "Label16",
            22,
            38,
            64,
            94,
            112,
            131,
            QStringLiteral("Définir le matériau à l'extérieur du vorlac"),
            QStringLiteral("Vous pouvez choisir le matériau à l'extérieur du vorlac dans la liste ou en définir un "
                           "autre")};
}

} // namespace

MaterialPanel::MaterialPanel(MaterialSide side, SceneController &controller, HintLine &hints,
                             const Messenger &messenger, QWidget *parent)
    : PanelFrame(layoutFor(side).name, layoutFor(side).geometry, layoutFor(side).titleName, layoutFor(side).title,
                 parent),
      m_side(side), m_controller(controller), m_hints(hints), m_messenger(messenger)
{
    const PanelLayout l = layoutFor(side);
    m_focusHint = l.focusHint;
    if (side == MaterialSide::Prism) {
        buildApex();
        buildGlassMenu();
    }
    QLabel *caption = addLabel(this, l.materialLabel, QStringLiteral("Matériau:"), {6, l.materialY, 118, 15});
    m_list = new QComboBox(this);
    caption->setBuddy(m_list); // the list's name for screen readers
    m_list->setObjectName(QString::fromLatin1(l.list));
    m_list->setGeometry(6, l.listY, 117, 21);
    m_list->setToolTip(l.tooltip);
    for (int row = 0; row < kMaterialCount; ++row)
        m_list->addItem(materialName(row));
    addLabel(this, l.vacuumText, QStringLiteral("Pour une longueur d'onde dans le vide"), {6, l.vacuumY, 118, 28})
        ->setWordWrap(true);
    addLabel(this, l.lambdaLabel, QStringLiteral("λ ="), {8, l.lambdaY, 22, 15});
    m_wavelength = addLabel(this, l.wavelength, QString(), {32, l.lambdaY, 90, 15});
    addLabel(this, l.indexLabel, QStringLiteral("L'indice est:"), {6, l.indexLabelY, 118, 15});
    m_index = addLabel(this, l.index, QString(), {8, l.indexY, 116, 17});
    setBold(m_index);

    connect(m_list, &QComboBox::activated, this, &MaterialPanel::onMaterialChosen);
    m_list->installEventFilter(this);
    hints.addHint(this, QStringLiteral("Pour connaître l'indice avec une autre longueur d'onde: déplacer le curseur "
                                       "de la source"));
    connect(&controller, &SceneController::sceneChanged, this, [this] { showState(m_controller.state()); });
    showState(controller.state());
}

void MaterialPanel::buildApex()
{
    QLabel *caption = addLabel(this, "Label1", QStringLiteral("Angle au sommet:"), {6, 21, 118, 15});
    addLabel(this, "Label11", QStringLiteral("A ="), {8, 42, 22, 15});
    m_apexValue = addLabel(this, "Label2", QString(), {30, 38, 26, 22});
    styleReadout(m_apexValue);
    m_apex = new UpDown(this);
    m_apex->setObjectName(QStringLiteral("angle"));
    m_apex->setGeometry(57, 37, 15, 24);
    m_apex->setRange(2, 90);
    caption->setBuddy(m_apex);
    addLabel(this, "Label3", QStringLiteral("degrés."), {77, 42, 48, 15});
    connect(m_apex, &UpDown::valueChanged, this, [this](int degrees) {
        m_hints.setInfo(QStringLiteral("L'angle au sommet du vorlac peut") + kCrLf +
                        QStringLiteral("varier de 2 à 90 degrés."));
        m_apexValue->setText(apexText(degrees));
        m_apexValue->repaint(); // shown before the redraw
        m_controller.setApexAngle(degrees);
    });
}

void MaterialPanel::buildGlassMenu()
{
    // The unknown glass without going through "Autre": the panel's right-click menu.
    auto *menu = makeNamedMenu(
        this, "menuverre",
        {{"verreinconnu", QStringLiteral("Verre inconnu")}, {"revelerverre", QStringLiteral("Révéler le verre")}});
    QAction *unknown = namedAction(*menu, "verreinconnu");
    m_reveal = namedAction(*menu, "revelerverre");
    unknown->setStatusTip(QStringLiteral("Le vorlac devient un verre réel tiré au hasard, dont le nom et l'indice "
                                         "restent cachés"));
    m_reveal->setStatusTip(QStringLiteral("Afficher le nom et l'indice du verre inconnu"));
    relayStatusTips(menu, [this](const QString &text) { m_hints.setInfo(text); });
    connect(unknown, &QAction::triggered, this,
            [this] { m_controller.setGlass(int(QRandomGenerator::global()->bounded(glassCount())), true); });
    connect(m_reveal, &QAction::triggered, this, [this] {
        const int row = m_controller.state().glass;
        m_controller.revealGlass();
        // The list says "Autre" whatever the glass: the name goes to the hint line, as LOUPE's list shows it.
        if (row >= 0)
            m_hints.announce(QStringLiteral("Le verre inconnu est : %1").arg(glassName(row)));
    });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint &at) { menu->popup(mapToGlobal(at)); });
}

void MaterialPanel::showState(const SceneState &state)
{
    const bool prism = m_side == MaterialSide::Prism;
    if (m_apex) {
        const QSignalBlocker block(m_apex);
        m_apex->setValue(state.apexAngle);
        m_apexValue->setText(apexText(state.apexAngle));
    }
    {
        const QSignalBlocker block(m_list);
        m_list->setCurrentIndex(prism ? state.prismMaterial : state.outsideMaterial);
    }
    m_wavelength->setText(wavelengthText(state.wavelength) + QStringLiteral(" nm"));
    const double n = prism ? scenePrismIndex(state, state.wavelength) : sceneOutsideIndex(state, state.wavelength);
    m_index->setText(prism && prismIndexHidden(state) ? QStringLiteral("n = ?") : indexText(n));
    if (prism) // a known glass is named where its index is
        m_index->setToolTip(state.glass >= 0 && !state.glassHidden
                                ? QStringLiteral("Verre %1").arg(glassName(state.glass))
                                : QString());
    if (m_reveal)
        m_reveal->setEnabled(prismIndexHidden(state));
    if (prism && prismIndexHidden(state) && !m_saidHidden)
        m_hints.announce(QStringLiteral("Verre inconnu : le vorlac est d'un verre réel tiré au hasard ; le "
                                        "retrouver par la mesure."));
    m_saidHidden = prism && prismIndexHidden(state);
}

void MaterialPanel::onMaterialChosen(int row)
{
    const SceneState &state = m_controller.state();
    m_list->setCursor(Qt::WaitCursor);
    if (row == kCustomMaterial) {
        const bool prism = m_side == MaterialSide::Prism;
        IndexLawDialog dialog(
            {prism ? state.prismCauchyA : state.outsideCauchyA, prism ? state.prismCauchyB : state.outsideCauchyB},
            m_messenger, this, &m_hints,
            prism ? std::optional(GlassChoice{state.glass, state.glassHidden}) : std::nullopt);
        m_list->unsetCursor();
        if (dialog.exec() != QDialog::Accepted) {
            showState(state); // back on the material in use
            return;
        }
        m_list->setCursor(Qt::WaitCursor);
        const IndexLaw chosen = dialog.chosen();
        if (const GlassChoice glass = dialog.chosenGlass(); glass.row >= 0)
            m_controller.setGlass(glass.row, glass.hidden);
        else
            m_controller.setCustomMaterial(m_side, chosen.cauchyA, chosen.cauchyB);
    } else {
        m_controller.setMaterial(m_side, row);
    }
    m_list->unsetCursor();
}

bool MaterialPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::FocusIn)
        m_hints.setInfo(m_focusHint);
    return PanelFrame::eventFilter(watched, event);
}

} // namespace vorlac
