#include "panels/displaypanel.h"

#include "common/hintline.h"
#include "scene/scenecontroller.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

namespace vorlac
{

DisplayPanel::DisplayPanel(SceneController &controller, HintLine &hints, QWidget *parent)
    : PanelFrame("Frame1", {152, 336, 265, 73}, "Label24", QStringLiteral("Options affichage"), parent),
      m_controller(controller)
{
    auto *group = new QGroupBox(QStringLiteral("Affichage"), this);
    group->setObjectName(QStringLiteral("Frame1Box"));
    group->setGeometry(3, 17, 259, 54);
    group->setToolTip(QStringLiteral("Clic droit : angles sur le schéma, fenêtre de projection"));
    m_normals = new QCheckBox(QStringLiteral("Normales aux dioptres"), group);
    m_normals->setObjectName(QStringLiteral("normales"));
    m_normals->setGeometry(6, 17, 150, 17);
    m_normals->setToolTip(QStringLiteral("Représenter les normales aux dioptres"));
    m_propagation = new QCheckBox(QStringLiteral("Sens de propagation"), group);
    m_propagation->setObjectName(QStringLiteral("propa"));
    m_propagation->setGeometry(6, 35, 150, 17);
    m_propagation->setToolTip(QStringLiteral("Sens de propagation de la lumière"));
    m_black = new QRadioButton(QStringLiteral("Fond noir"), group);
    m_black->setObjectName(QStringLiteral("Option3"));
    m_black->setGeometry(164, 17, 90, 17);
    m_black->setToolTip(QStringLiteral("Représentation de l'expérience en couleur"));
    m_white = new QRadioButton(QStringLiteral("Fond blanc"), group);
    m_white->setObjectName(QStringLiteral("Option4"));
    m_white->setGeometry(164, 35, 90, 17);
    m_white->setToolTip(QStringLiteral("Schéma de principe en noir sur fond blanc"));

    for (QCheckBox *mark : {m_normals, m_propagation})
        connect(mark, &QCheckBox::toggled, this,
                [this] { m_controller.setMarks(m_normals->isChecked(), m_propagation->isChecked()); });
    for (QRadioButton *option : {m_black, m_white})
        connect(option, &QRadioButton::toggled, this, [this, option](bool on) {
            if (on)
                onBackgroundChosen(option);
        });
    const QString hint =
        QStringLiteral("Les paramètres d'affichage interviennent également sur l'image copiée ou imprimée.");
    hints.addHint(this, hint);
    hints.addHint(group, hint);
    connect(&controller, &SceneController::sceneChanged, this, [this] { showState(m_controller.state()); });
    showState(controller.state());
}

void DisplayPanel::showState(const SceneState &state)
{
    const QSignalBlocker b1(m_normals), b2(m_propagation), b3(m_black), b4(m_white);
    m_normals->setChecked(state.showNormals);
    m_propagation->setChecked(state.showPropagation);
    // White light and lamps draw no marks: too many rays for them to be read.
    const bool marks = state.source != SourceType::WhiteLight && state.source != SourceType::LineLamp;
    m_normals->setEnabled(marks);
    m_propagation->setEnabled(marks);
    (state.blackBackground ? m_black : m_white)->setChecked(true);
}

void DisplayPanel::onBackgroundChosen(QRadioButton *option)
{
    option->setCursor(Qt::WaitCursor);
    m_controller.setBlackBackground(option == m_black);
    option->unsetCursor();
}

} // namespace vorlac
