#include "panels/protractorpanel.h"

#include "common/clicklabel.h"
#include "common/hintline.h"
#include "common/panelstyle.h"
#include "common/pictures.h"
#include "scene/protractorview.h"
#include "scene/scenecontroller.h"
#include "scene/sceneview.h"

namespace vorlac
{

QString ProtractorPanel::hint()
{
    return QStringLiteral(
        "Le rapporteur peut pivoter et être déplacé. Il mesue l'angle entre la droite cyan et sa base.");
}

ProtractorPanel::ProtractorPanel(HintLine &hints, QWidget *parent)
    : PanelFrame("Picture2", {8, 48, 129, 121}, "Label25", QStringLiteral("Mesurer un angle"), parent), m_hints(hints)
{
    addLabel(this, "Label5", QStringLiteral("Angle mesuré par le rapporteur:"), {6, 24, 118, 30})->setWordWrap(true);
    m_readout = addLabel(this, "Label10", QStringLiteral("90,0"), {14, 58, 100, 28});
    QFont big = m_readout->font();
    big.setPixelSize(20);
    big.setBold(true);
    m_readout->setFont(big);
    styleReadout(m_readout);
    addLabel(this, "Label17", QStringLiteral("degrés"), {14, 90, 100, 15})->setAlignment(Qt::AlignCenter);
    m_closeIcon = new ClickLabel(this);
    m_closeIcon->setObjectName(QStringLiteral("Image4"));
    m_closeIcon->setGeometry(110, 100, 16, 16);
    m_closeIcon->setPixmap(svgPicture(QStringLiteral("close_small"), QSize(16, 16), devicePixelRatioF()));
    m_closeIcon->setToolTip(QStringLiteral("Fermer rapporteur"));
    m_closeIcon->setCursor(Qt::PointingHandCursor);
    connect(m_closeIcon, &ClickLabel::clicked, this, &QWidget::hide);
    hints.addHint(this, hint());
}

void ProtractorPanel::attachProtractor(SceneController &controller, QWidget *dessin, ProtractorModel &model)
{
    m_controller = &controller;
    m_protractor = new ProtractorView(controller.picture(), dessin, &model);
    model.setShown(!isHidden());
    connect(this, &PanelFrame::visibilityChanged, &model, &ProtractorModel::setShown);
    connect(&model, &ProtractorModel::shownChanged, this, [this](bool shown) {
        if (shown == isHidden())
            shown ? open() : hide();
    });
    refreshProtractor();
    connect(m_protractor, &ProtractorView::readOutChanged, m_readout, &QLabel::setText);
    connect(m_protractor, &ProtractorView::hint, &m_hints, &HintLine::setInfo);
    connect(m_protractor, &ProtractorView::closeRequested, this, &QWidget::hide);
    // Zoomed and panned with the scene, drawn at its scale.
    if (auto *view = qobject_cast<SceneView *>(dessin))
        connect(view, &SceneView::viewportChanged, m_protractor, &ProtractorView::setViewport);
    connect(&controller, &SceneController::pictureRedrawn, this, [this] {
        if (!isHidden())
            refreshProtractor();
    });
    // Closing by the icon, the title or an exercise takes the protractor off the scene; its
    // position, rotation and line angle stay for the next opening.
    connect(this, &PanelFrame::visibilityChanged, m_protractor, [this](bool visible) {
        if (!visible)
            m_protractor->hide();
    });
}

void ProtractorPanel::refreshProtractor()
{
    m_protractor->RefreshProtractor(m_controller->state().blackBackground);
}

void ProtractorPanel::open()
{
    show();
    if (m_protractor) {
        refreshProtractor();
        m_protractor->show();
        m_protractor->setFocus(Qt::OtherFocusReason); // the keys work on it at once
    }
    m_hints.setInfo(hint());
    QPalette pal = m_readout->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    m_readout->setPalette(pal);
}

} // namespace vorlac
