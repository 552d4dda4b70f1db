#include "panels/measurepanel.h"

#include "analysis/measuretexts.h"
#include "common/hintline.h"
#include "common/menus.h"
#include "common/messenger.h"
#include "common/panelstyle.h"
#include "common/regional.h"
#include "model/glasscatalogue.h"
#include "model/materials.h"
#include "panels/lamplinelist.h"
#include "panels/measuregrid.h"
#include "panels/recordcolumnsdialog.h"
#include "scene/scenecontroller.h"
#include "table/valuetable.h"

#include <QActionGroup>
#include <QBoxLayout>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <cmath>

#include <limits>

namespace vorlac
{

namespace
{

constexpr int kNoteStart = 4; // row of r, where note column 0 starts

const QString kPanelHint = QStringLiteral("Les angles et les indices du rayon tracé, en degrés; "
                                          "F9 ou « Relever » les écrit dans le tableau");
const QString kRecordHint =
    QStringLiteral("Écrire les valeurs affichées dans la première ligne libre du tableau (touche F9)");
const QString kColumnsHint = QStringLiteral("Choisir quelle grandeur va dans quelle colonne du tableau");
const QString kPrecisionHint = QStringLiteral("Nombre de décimales des angles du panneau et du relevé (F9) ; "
                                              "clic droit sur le panneau");
const QString kPlaceHint =
    QStringLiteral("Placer la lampe à l'incidence du minimum de déviation (avec cinq radiations, "
                   "celui de la radiation la plus proche du curseur)");

struct Header {
    const char *text;
    const char *tip;
};
const Header kHeaders[MeasurePanel::kCells] = {
    {"λ (nm)", "Longueur d'onde de la radiation"},
    {"n vorlac", "Indice du vorlac"},
    {"n ext.", "Indice du milieu extérieur"},
    {"i (°)", "Angle d'incidence sur la face d'entrée"},
    {"r (°)", "Angle de réfraction dans le vorlac"},
    {"r' (°)", "Angle d'incidence sur la face de sortie, dans le vorlac"},
    {"i' (°)", "Angle d'émergence"},
    {"D (°)", "Déviation: D = i + i' - A"},
    {"ℓ (°)", "Angle limite de réfraction dans le vorlac"},
    {"i lim. (°)", "Incidence limite pour que le rayon sorte par la face de sortie"},
};

} // namespace

MeasurePanel::MeasurePanel(SceneController &controller, ValueTable &table, HintLine &hints, const Messenger &messenger,
                           QWidget *parent)
    : PanelFrame("PictureMesures", {424, 296, 361, 249}, "LabelMesures", QStringLiteral("Mesures"), parent),
      m_controller(controller), m_table(table), m_hints(hints), m_messenger(messenger), m_locale(regionalLocale())
{
    auto *body = new QWidget(this);
    body->setGeometry(4, 19, width() - 8, height() - 21);
    body->setToolTip(
        QStringLiteral("Clic droit : précision des angles (%1°, %2° ou %3°)")
            .arg(angleText(0.1, m_locale, 1), angleText(0.01, m_locale, 2), angleText(0.001, m_locale, 3)));
    auto *outer = new QVBoxLayout(body);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(3);
    // One column per radiation, one row per quantity: the five radiations fit the width of the
    // exercise area the panel lies over.
    QFont small = font();
    if (small.pixelSize() > 0)
        small.setPixelSize(small.pixelSize() - 1);
    else
        small.setPointSizeF(small.pointSizeF() - 1);
    static_assert(kCells == MeasureGrid::kRows && kLines == MeasureGrid::kLines);
    std::array<MeasureGrid::Title, kCells> headings;
    for (int c = 0; c < kCells; ++c)
        headings[std::size_t(c)] = {QString::fromUtf8(kHeaders[c].text), QString::fromUtf8(kHeaders[c].tip)};
    m_values = new MeasureGrid(headings, body);
    m_apex = new QLabel(body);
    m_apex->setObjectName(QStringLiteral("MesureApex"));
    m_apex->setToolTip(QStringLiteral("Angle au sommet du vorlac"));
    setBold(m_apex);
    m_apex->setMinimumWidth(m_values->titleWidth());
    m_rays = new QLabel(body);
    m_rays->setObjectName(QStringLiteral("MesureSource"));
    m_rays->setToolTip(QStringLiteral("Les rayons dont les colonnes donnent les mesures"));
    auto *top = new QHBoxLayout;
    top->setSpacing(3);
    top->addWidget(m_apex);
    top->addWidget(m_rays, 1);
    auto *grid = new QVBoxLayout;
    grid->setSpacing(0);
    grid->addLayout(top);
    grid->addWidget(m_values);
    outer->addLayout(grid);
    // With a lamp, every line of it in a list that scrolls, in place of the five columns.
    m_lampLines = new LampLineList(body);
    m_lampLines->setFont(small);
    QStringList titles, tips;
    for (int c = 1; c < kCells; ++c) {
        titles << QString::fromUtf8(kHeaders[c].text);
        tips << QString::fromUtf8(kHeaders[c].tip);
    }
    m_lampLines->setHeaders(titles, tips);
    m_lampLines->setToolTip(QStringLiteral("Toutes les raies de la lampe ; la plus proche du curseur est en "
                                           "surbrillance (flèches pour faire défiler)"));
    hints.addHint(m_lampLines, QStringLiteral("Chaque raie de la lampe sur une ligne ; la raie la plus proche du "
                                              "curseur est en surbrillance et reste visible"));
    m_lampLines->hide();
    outer->addWidget(m_lampLines, 20); // all the room the other lines leave

    m_minimumText = new QLabel(body);
    m_minimumText->setObjectName(QStringLiteral("MesureMinimum"));
    m_minimumText->setWordWrap(true);
    m_minimumText->setToolTip(QStringLiteral("Calculé par le tracé du rayon, à la longueur d'onde du curseur; avec "
                                             "cinq radiations, pour la radiation tracée la plus proche du curseur"));
    outer->addWidget(m_minimumText);
    outer->addStretch(1);
    m_columnsText = new QLabel(body);
    m_columnsText->setObjectName(QStringLiteral("MesureColonnes"));
    m_columnsText->setToolTip(kColumnsHint);
    auto *columnsRow = new QHBoxLayout;
    columnsRow->addWidget(m_columnsText, 1);
    auto *sweep = new QPushButton(QStringLiteral("Balayage…"), body);
    sweep->setObjectName(QStringLiteral("BoutonBalayage"));
    sweep->setToolTip(
        QStringLiteral("Remplir le tableau d'une série calculée : D en fonction de i, ou Dmin, n et λ pour "
                       "chaque raie de la lampe (Maj+F9)"));
    hints.addHint(sweep, sweep->toolTip());
    connect(sweep, &QPushButton::clicked, this, &MeasurePanel::sweepRequested);
    columnsRow->addWidget(sweep);
    outer->addLayout(columnsRow);

    auto *buttons = new QHBoxLayout;
    m_placeLamp = new QPushButton(QStringLiteral("Placer la la&mpe"), body);
    m_placeLamp->setObjectName(QStringLiteral("BoutonMinimum"));
    m_placeLamp->setToolTip(kPlaceHint);
    buttons->addWidget(m_placeLamp);
    m_record = new QPushButton(QStringLiteral("&Relever la mesure (F9)"), body);
    m_record->setObjectName(QStringLiteral("BoutonReleve"));
    m_record->setToolTip(kRecordHint);
    m_columnsButton = new QPushButton(QStringLiteral("Colonne&s…"), body);
    m_columnsButton->setObjectName(QStringLiteral("BoutonColonnes"));
    m_columnsButton->setToolTip(kColumnsHint);
    buttons->addWidget(m_record);
    buttons->addWidget(m_columnsButton);
    outer->addLayout(buttons);
    setRecordColumns(m_columns);
    buildPrecisionMenu(hints);

    hints.addHint(this, kPanelHint);
    hints.addHint(m_record, kRecordHint);
    hints.addHint(m_columnsButton, kColumnsHint);
    hints.addHint(m_placeLamp, kPlaceHint);
    connect(m_record, &QPushButton::clicked, this, &MeasurePanel::record);
    connect(m_columnsButton, &QPushButton::clicked, this, &MeasurePanel::chooseColumns);
    connect(m_placeLamp, &QPushButton::clicked, this, &MeasurePanel::placeLampAtMinimum);
    connect(m_lampLines, &LampLineList::lineChosen, this, [this](int row) {
        const std::vector<RayMeasures> rays = lampLineMeasures(m_controller.figure().measures);
        if (row < 0 || std::size_t(row) >= rays.size())
            return;
        m_chosenLine = rays[std::size_t(row)].wavelength;
        m_chosenLamp = m_controller.state().lamp;
        updateMinimum();
    });
    // A new figure: a redraw, or the cursor choosing another measured ray without one.
    connect(&controller, &SceneController::figureChanged, this, [this] {
        if (!isHidden())
            refresh();
    });
    connect(this, &PanelFrame::visibilityChanged, this, [this](bool visible) {
        if (visible)
            refresh();
    });
}

void MeasurePanel::buildPrecisionMenu(HintLine &hints)
{
    m_precisionMenu = new QMenu(this);
    m_precisionMenu->setObjectName(QStringLiteral("menuprecision"));
    m_precisionMenu->setToolTipsVisible(true);
    m_precisionMenu->setTitle(QStringLiteral("Précision des angles"));
    m_precisions = new QActionGroup(m_precisionMenu);
    const char *names[] = {"precision1", "precision2", "precision3"};
    for (int d = kMinAngleDecimals; d <= kMaxAngleDecimals; ++d) {
        const QString step = angleText(std::pow(10.0, -d), m_locale, d);
        QAction *a = addNamedAction(m_precisionMenu, names[d - 1], QStringLiteral("Angles à %1°").arg(step));
        a->setCheckable(true);
        a->setChecked(d == m_angleDecimals);
        a->setData(d);
        a->setToolTip(QStringLiteral("Afficher et relever les angles à %1 degré près").arg(step));
        a->setStatusTip(kPrecisionHint);
        m_precisions->addAction(a);
        connect(a, &QAction::triggered, this, [this, d] {
            setAngleDecimals(d);
            emit angleDecimalsChosen(d);
        });
    }
    relayStatusTips(m_precisionMenu, [&hints](const QString &t) { hints.setInfo(t); });
}

void MeasurePanel::contextMenuEvent(QContextMenuEvent *e)
{
    m_precisionMenu->popup(e->globalPos());
    e->accept();
}

void MeasurePanel::setAngleDecimals(int decimals)
{
    decimals = std::clamp(decimals, kMinAngleDecimals, kMaxAngleDecimals);
    for (QAction *a : m_precisions->actions())
        a->setChecked(a->data().toInt() == decimals);
    if (decimals == m_angleDecimals)
        return;
    m_angleDecimals = decimals;
    m_minimumKey = {}; // its text too
    if (!isHidden())
        refresh();
}

void MeasurePanel::showLampMode(bool lamp)
{
    if (lamp == m_lampMode)
        return;
    m_lampMode = lamp;
    m_values->setVisible(!lamp);
    m_lampLines->setVisible(lamp);
}

void MeasurePanel::showLine(int index, const RayMeasures *ray)
{
    if (!ray) {
        m_values->clearLine(index);
        return;
    }
    const MeasureLineTexts t = measureLineTexts(*ray, m_locale, m_angleDecimals);
    m_values->setLine(index, {&t.wavelength, &t.prismIndex, &t.outsideIndex, &t.incidence, &t.refraction,
                              &t.exitIncidence, &t.emergence, &t.deviation, &t.criticalAngle, &t.limitIncidence});
    // The note stands over the quantities the ray does not have.
    m_values->placeNote(index, t.noteColumn >= 0 ? kNoteStart + t.noteColumn : -1, t.note);
}

void MeasurePanel::refresh()
{
    const SceneState &state = m_controller.state();
    showLampMode(state.source == SourceType::LineLamp);
    if (state.wavelength != m_shownWavelength || state.lamp != m_chosenLamp || !m_lampMode)
        m_chosenLine = 0;
    if (m_lampMode) {
        const std::vector<RayMeasures> rays = lampLineMeasures(m_controller.figure().measures);
        std::size_t shown = nearestRay(rays, state.wavelength);
        for (std::size_t k = 0; k < rays.size(); ++k)
            if (m_chosenLine > 0 && rays[k].wavelength == m_chosenLine)
                shown = k;
        m_lampLines->showLines(state, rays, shown, m_locale, m_angleDecimals);
    } else {
        const std::vector<RayMeasures> rays = shownMeasures(state, m_controller.figure().measures);
        for (int l = 0; l < kLines; ++l) {
            const std::size_t k = static_cast<std::size_t>(l);
            showLine(l, k < rays.size() ? &rays[k] : nullptr);
        }
    }
    m_apex->setText(QStringLiteral("A = %1°").arg(wholeText(state.apexAngle, m_locale)));
    m_rays->setText(measuredRaysText(state, m_locale));
    m_shownWavelength = state.wavelength;
    m_shownHidden = state.lampHidden;
    updateMinimum();
}

void MeasurePanel::updateMinimum()
{
    const SceneState &s = m_controller.state();
    const double lambda = m_chosenLine > 0 ? m_chosenLine : minimumWavelength(s);
    const MinimumKey key{s.apexAngle,
                         lambda,
                         s.source,
                         scenePrismIndex(s, lambda),
                         sceneOutsideIndex(s, lambda),
                         hiddenLineNumber(s, lambda),
                         prismIndexHidden(s)};
    if (key == m_minimumKey)
        return; // the lamp moved: the minimum does not depend on it
    m_minimumKey = key;
    m_minimum = findMinimumDeviation(key.apex, key.prism, key.outside);
    MinimumDeviation shown = m_minimum;
    if (key.hidden)
        shown.relativeIndex = std::numeric_limits<double>::quiet_NaN();
    m_minimumText->setText(
        minimumDeviationText(shown, key.wavelength, key.source, m_locale, m_angleDecimals, key.hiddenLine));
    m_placeLamp->setEnabled(m_minimum.found && !m_minimum.uniform);
}

bool MeasurePanel::record()
{
    const SceneState &state = m_controller.state();
    const std::vector<RayMeasures> rays = withHiddenLines(state, shownMeasures(state, m_controller.figure().measures));
    // Five lines (or a lamp's) are told apart by their wavelength.
    const bool five = rays.size() > 1;
    const QStringList titles = m_table.titles();
    RecordColumns columns = five ? withWavelength(m_columns, titles) : m_columns;
    const int conflict = conflictingColumn(columns, titles);
    if (conflict >= 0 || (five && !columns.holds(Quantity::Wavelength))) {
        const QString why =
            conflict >= 0
                ? QStringLiteral("Le titre de la colonne C%1, « %2 », ne désigne pas %3.")
                      .arg(conflict + 1)
                      .arg(titles.value(conflict), quantitySymbol(columns.column[static_cast<std::size_t>(conflict)]))
                : QStringLiteral("Aucune colonne libre ne peut recevoir λ, qui distingue les cinq radiations.");
        RecordColumnsDialog dialog(proposedColumns(columns, titles, five), titles, window(),
                                   why + QStringLiteral(" Choisir les colonnes : OK relève la mesure."), five);
        if (dialog.exec() != QDialog::Accepted) {
            m_hints.setInfo(QStringLiteral("Relevé annulé : rien n'a été écrit dans le tableau"));
            return false;
        }
        columns = dialog.columns();
    }
    if (columns != m_columns)
        setRecordColumns(columns);
    // At the designed precision the record writes the angles as computed, as it always did; a
    // finer choice writes them as the panel shows them.
    const RecordOutcome out =
        recordMeasurement(m_table, m_columns, rays, state.apexAngle,
                          m_angleDecimals > kMinAngleDecimals ? std::optional<int>(m_angleDecimals) : std::nullopt);
    switch (out.status) {
    case RecordOutcome::Recorded:
        m_hints.announce(out.lines == 1 ? QStringLiteral("Mesure relevée à la ligne %1 du tableau").arg(out.firstLine)
                                        : QStringLiteral("Mesures relevées aux lignes %1 à %2 du tableau")
                                              .arg(out.firstLine)
                                              .arg(out.firstLine + out.lines - 1));
        emit recorded(out.firstLine);
        return true;
    case RecordOutcome::TableFull:
        m_messenger.critical(
            this, QStringLiteral("Relever la mesure"),
            rays.size() == 1
                ? QStringLiteral("Le tableau est plein (100 lignes): la mesure n'a pas été écrite.")
                : QStringLiteral("Le tableau est plein: il n'a plus assez de lignes libres (100 lignes au plus) "
                                 "pour les %1 radiations, rien n'a été écrit.")
                      .arg(rays.size()));
        return false;
    case RecordOutcome::NoColumn:
    case RecordOutcome::TitleConflict: // the dialog lets neither through
        break;
    }
    return false;
}

void MeasurePanel::setRecordColumns(const RecordColumns &columns)
{
    m_columns = columns;
    QStringList parts;
    for (int c = 0; c < ValueTable::kColumns; ++c)
        if (const Quantity q = columns.column[static_cast<std::size_t>(c)]; q != Quantity::None)
            parts << QStringLiteral("%1 → C%2").arg(quantitySymbol(q)).arg(c + 1);
    m_columnsText->setText(QStringLiteral("Relevé : ") + parts.join(QStringLiteral(", ")));
}

void MeasurePanel::chooseColumns()
{
    RecordColumnsDialog dialog(m_columns, m_table.titles(), window());
    if (dialog.exec() == QDialog::Accepted)
        setRecordColumns(dialog.columns());
}

void MeasurePanel::placeLampAtMinimum()
{
    updateMinimum();
    if (m_minimum.found && !m_minimum.uniform)
        m_controller.setIncidenceAngle(m_minimum.incidence);
}

} // namespace vorlac
