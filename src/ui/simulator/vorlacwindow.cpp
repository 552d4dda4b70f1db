#include "simulator/vorlacwindow.h"

#include "common/clicklabel.h"
#include "common/pictures.h"
#include "common/recordfile.h"
#include "common/regional.h"
#include "common/rounding.h"
#include "common/updown.h"
#include "help/introduction.h"
#include "model/materials.h"
#include "simulator/loupedialog.h"
#include "simulator/sceneview.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

namespace vorlac {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kStartHint =
    QStringLiteral("Vous pouvez modifier les paramètres,") + kCrLf + QStringLiteral("ouvrir une configuration ou un exercice");
const QString kProtractorHint = QStringLiteral(
    "Le rapporteur peut pivoter et être déplacé. Il mesue l'angle entre la droite cyan et sa base.");
const QString kMarkerFile = QStringLiteral("TEMPO.SPC");
constexpr int kMarkerRecord = 3;
const QColor kNavy(0, 0, 128);
const QColor kPanelColour(238, 238, 230);

QLabel *addLabel(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    return l;
}

void setWaitCursor(QWidget *w) { w->setCursor(Qt::WaitCursor); }

// "n = " and the index with exactly six decimals in the regional form (1,506516).
QString indexText(double n)
{
    QLocale locale = regionalLocale();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return QStringLiteral("n = ") + locale.toString(n, 'f', 6);
}

} // namespace

Vorlac::Vorlac(VorlacEnvironment environment, QWidget *parent) : QWidget(parent), m_env(std::move(environment))
{
    setObjectName(QStringLiteral("Vorlac"));
    setWindowTitle(QStringLiteral("Le vorlac"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);
    resize(786, 571);
    setMouseTracking(true);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1500);
    connect(m_timer1, &QTimer::timeout, this, &Vorlac::timer1Tick);

    buildIcons();
    buildToolbar();
    buildScene();
    buildPanels();
    buildExerciseArea();
    buildMenus();
    setWindowState(Qt::WindowMaximized); // designed maximized; the small-screen rule may undo it
    startUp();
}

Vorlac::~Vorlac() = default;

// ---------------------------------------------------------------------------------------------
// Layout

void Vorlac::buildToolbar()
{
    struct Tool {
        QToolButton **target;
        const char *name;
        QRect geometry;
        QString caption, tooltip, picture, hint;
    };
    const Tool tools[] = {
        {&m_open, "Command2", {0, 0, 81, 41}, QStringLiteral("&Ouvrir"), QStringLiteral("Retrouver une configuration"),
         QStringLiteral("tb_open"), QStringLiteral("Retrouver une situation enregistrée")},
        {&m_save, "Command11", {80, 0, 81, 41}, QStringLiteral("&Enregistrer"),
         QStringLiteral("Enregistrer la configuration actuelle"), QStringLiteral("tb_save"),
         QStringLiteral("Enregistrer la configuration en cours")},
        {&m_copy, "Command4", {160, 0, 81, 41}, QStringLiteral("Co&pier"),
         QStringLiteral("Placer l'image dans le presse-papiers"), QStringLiteral("tb_copy"),
         QStringLiteral("Placer le dessin dans le presse-papiers puis coller depuis Word, Paint...")},
        {&m_print, "Command10", {240, 0, 81, 41}, QStringLiteral("&Imprimer"), QStringLiteral("Imprimer l'image"),
         QStringLiteral("tb_print"), QStringLiteral("Configurer l'imprimante et imprimer l'image")},
        {&m_tableButton, "Check1", {320, 0, 81, 41}, QStringLiteral("&Tableau"),
         QStringLiteral("Afficher / cacher le tableau"), QStringLiteral("tb_table"),
         QStringLiteral("Pour afficher ou cacher le tableau de valeurs")},
        {&m_calc, "Command8", {400, 0, 81, 41}, QStringLiteral("&Calculatrice"), QStringLiteral("Machine à calculer"),
         QStringLiteral("tb_calc"), QStringLiteral("Activer la machine à calculer")},
        {&m_notations, "Command3", {480, 0, 81, 41}, QStringLiteral("&Notations"),
         QStringLiteral("Notations angles du vorlac"), QStringLiteral("tb_notations"),
         QStringLiteral("Pour voir les notations utilisées dans les exercices")},
        {&m_course, "Command9", {560, 0, 81, 41}, QStringLiteral("&Voir le cours"), QStringLiteral("Aide théorique"),
         QStringLiteral("tb_course"), QStringLiteral("Accéder directement à une partie du cours du manuel")},
        {&m_help, "Command7", {640, 0, 73, 41}, QStringLiteral("&Aide"),
         QStringLiteral("Aide pour utiliser cette application"), QStringLiteral("tb_help"),
         QStringLiteral("Si vous rencontrez une difficulté avec cette application")},
        {&m_close, "Command1", {712, 0, 89, 41}, QStringLiteral("&Fermer"), QStringLiteral("Quitter cette application"),
         QStringLiteral("tb_close"), QStringLiteral("Pour retrouver le module principal et quitter cette application")},
    };
    for (const Tool &t : tools) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(t.name));
        b->setGeometry(t.geometry);
        b->setText(t.caption);
        b->setToolTip(t.tooltip);
        b->setIcon(QIcon(svgPicture(t.picture, QSize(20, 20), devicePixelRatioF())));
        b->setIconSize(QSize(20, 20));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(false);
        *t.target = b;
        setHint(b, t.hint);
    }
    m_tableButton->setCheckable(true);
    connect(m_close, &QToolButton::clicked, this, &Vorlac::onClose);
    connect(m_copy, &QToolButton::clicked, this, [this] { m_menucopie->popup(QCursor::pos()); });
}

void Vorlac::buildScene()
{
    m_frame3 = new QFrame(this);
    m_frame3->setObjectName(QStringLiteral("Picture3"));
    m_frame3->setGeometry(144, 48, 620, 241);
    static_cast<QFrame *>(m_frame3)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    static_cast<QFrame *>(m_frame3)->setLineWidth(2);
    auto *viewport = new QWidget(m_frame3);
    viewport->setObjectName(QStringLiteral("Picture3Viewport"));
    viewport->setGeometry(2, 2, 616, 237);
    m_dessin = new SceneView(m_picture, viewport);
    connect(m_dessin->lamp(), &LampLabel::mouseDown, this, &Vorlac::lampMouseMove);
    connect(m_dessin->lamp(), &LampLabel::mouseMoved, this, &Vorlac::lampMouseMove);
    connect(m_dessin->lamp(), &LampLabel::mouseUp, this, [this](Qt::MouseButtons, QPointF) { lampMouseUp(); });

    m_vscroll = new QScrollBar(Qt::Vertical, this);
    m_vscroll->setObjectName(QStringLiteral("VScroll1"));
    m_vscroll->setGeometry(768, 48, 17, 241);
    m_vscroll->setRange(0, 150);
    m_vscroll->setSingleStep(1);
    m_vscroll->setPageStep(20);
    m_vscroll->setValue(10);
    connect(m_vscroll, &QScrollBar::valueChanged, this, [this](int v) { m_dessin->move(0, -v); });
}

void Vorlac::buildIcons()
{
    struct Icon {
        QPoint pos;
        const char *picture;
        QString hint;
    };
    const Icon icons[] = {
        {{24, 392}, "icon_prism", QStringLiteral("Définir l'angle au sommet et le matériau.")},
        {{16, 200}, "icon_medium", QStringLiteral("Pour modifier le milieu extérieur au vorlac")},
        {{216, 344}, "icon_display",
         QStringLiteral("Modifier le fond, afficher les normales ou le sens de propagation")},
        {{216, 448}, "icon_source",
         QStringLiteral("Définir la source ( monochromatique / polychromatique ) ou modifier la longueur d'onde")},
        {{24, 80}, "icon_protractor", QStringLiteral("Afficher le rapporteur.")},
    };
    m_picture1 = new QWidget(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_picture1->setGeometry(32, 40, 108, 70);
    m_picture1->hide();
    const QCursor hand = svgCursor(QStringLiteral("cursor_hand"));
    m_picture1->setCursor(hand);
    for (int i = 1; i <= 5; ++i) {
        const Icon &ic = icons[i - 1];
        auto *l = new ClickLabel(this);
        l->setObjectName(QStringLiteral("Image3(%1)").arg(i));
        l->setGeometry(QRect(ic.pos, QSize(108, 70)));
        // Transparent where the picture is: the painted background shows through.
        l->setPixmap(svgPicture(QString::fromLatin1(ic.picture), QSize(108, 70), devicePixelRatioF()));
        l->setCursor(hand);
        setHint(l, ic.hint);
        connect(l, &ClickLabel::clicked, this, [this, i] { onPanelIcon(i); });
        m_icons[i] = l;
    }
}

QFrame *Vorlac::makePanel(const char *name, QRect geometry, const char *titleName, const QString &title,
                          int titleHeight)
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(geometry);
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, kPanelColour);
    pal.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(pal);
    auto *bar = new ClickLabel(title, panel);
    bar->setObjectName(QString::fromLatin1(titleName));
    bar->setGeometry(0, 0, geometry.width(), titleHeight);
    bar->setToolTip(QStringLiteral("Fermer"));
    bar->setAutoFillBackground(true);
    QPalette bp = bar->palette();
    bp.setColor(QPalette::Window, kNavy);
    bp.setColor(QPalette::WindowText, Qt::white);
    bar->setPalette(bp);
    QFont bold = font();
    bold.setBold(true);
    bar->setFont(bold);
    bar->setIndent(4);
    bar->setCursor(Qt::PointingHandCursor);
    connect(bar, &ClickLabel::clicked, panel, &QWidget::hide);
    panel->hide();
    return panel;
}

void Vorlac::buildPanels()
{
    buildProtractorPanel();
    buildMediumPanel();
    buildPrismPanel();
    buildDisplayPanel();
    buildSourcePanel();
    buildTableFrame();
}

void Vorlac::buildPrismPanel()
{
    m_prismPanel = makePanel("Picture4", {8, 336, 129, 209}, "Label19", QStringLiteral("Paramétrer le vorlac"));
    QWidget *p = m_prismPanel;
    addLabel(p, "Label1", QStringLiteral("Angle au sommet:"), {6, 21, 118, 15});
    addLabel(p, "Label11", QStringLiteral("A ="), {8, 42, 22, 15});
    m_apexLabel = addLabel(p, "Label2", QStringLiteral("45"), {30, 38, 26, 22});
    m_apexLabel->setAlignment(Qt::AlignCenter);
    m_apexLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_apexLabel->setAutoFillBackground(true);
    m_apexLabel->setStyleSheet(QStringLiteral("background: white;"));
    m_angle = new UpDown(p);
    m_angle->setObjectName(QStringLiteral("angle"));
    m_angle->setGeometry(57, 37, 15, 24);
    m_angle->setRange(2, 90);
    m_angle->setValue(45);
    addLabel(p, "Label3", QStringLiteral("degrés."), {77, 42, 48, 15});
    addLabel(p, "Label12", QStringLiteral("Matériau:"), {6, 66, 118, 15});
    m_combo1 = new QComboBox(p);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->setGeometry(6, 82, 117, 21);
    m_combo1->setToolTip(QStringLiteral("Définir le matériau constituant le vorlac"));
    auto *l22 = addLabel(p, "Label22", QStringLiteral("Pour une longueur d'onde dans le vide"), {6, 108, 118, 28});
    l22->setWordWrap(true);
    addLabel(p, "Label18", QStringLiteral("λ ="), {8, 140, 22, 15});
    m_label20 = addLabel(p, "Label20", QStringLiteral("589 nm"), {32, 140, 90, 15});
    addLabel(p, "Label21", QStringLiteral("L'indice est:"), {6, 160, 118, 15});
    m_label4 = addLabel(p, "Label4", QString(), {8, 180, 116, 17});
    QFont f = m_label4->font();
    f.setBold(true);
    m_label4->setFont(f);
    connect(m_angle, &UpDown::valueChanged, this, &Vorlac::onApexChanged);
    connect(m_combo1, &QComboBox::activated, this, [this] { onMaterialSelected(m_combo1); });
    setHint(m_prismPanel, QStringLiteral("Pour connaître l'indice avec une autre longueur d'onde: déplacer le curseur "
                                         "de la source"));
    m_combo1->installEventFilter(this);
}

void Vorlac::buildMediumPanel()
{
    m_mediumPanel = makePanel("Picture5", {8, 176, 129, 153}, "Label32", QStringLiteral("Milieu extérieur"));
    QWidget *p = m_mediumPanel;
    addLabel(p, "Label27", QStringLiteral("Matériau:"), {6, 22, 118, 15});
    m_combo2 = new QComboBox(p);
    m_combo2->setObjectName(QStringLiteral("Combo2"));
    m_combo2->setGeometry(6, 38, 117, 21);
    m_combo2->setToolTip(QStringLiteral("Définir le matériau à l'extérieur du vorlac"));
    auto *l9 = addLabel(p, "Label9", QStringLiteral("Pour une longueur d'onde dans le vide"), {6, 64, 118, 28});
    l9->setWordWrap(true);
    addLabel(p, "Label13", QStringLiteral("λ ="), {8, 94, 22, 15});
    m_label14 = addLabel(p, "Label14", QStringLiteral("589 nm"), {32, 94, 90, 15});
    addLabel(p, "Label15", QStringLiteral("L'indice est:"), {6, 112, 118, 15});
    m_label16 = addLabel(p, "Label16", QString(), {8, 131, 116, 17});
    QFont f = m_label16->font();
    f.setBold(true);
    m_label16->setFont(f);
    connect(m_combo2, &QComboBox::activated, this, [this] { onMaterialSelected(m_combo2); });
    setHint(m_mediumPanel, QStringLiteral("Pour connaître l'indice avec une autre longueur d'onde: déplacer le curseur "
                                          "de la source"));
    m_combo2->installEventFilter(this);
}

void Vorlac::buildSourcePanel()
{
    m_sourcePanel = makePanel("Picture6", {152, 416, 265, 129}, "Label23", QStringLiteral("Source lumineuse"));
    QWidget *p = m_sourcePanel;
    m_option1 = new QRadioButton(QStringLiteral("Monochromatique"), p);
    m_option1->setObjectName(QStringLiteral("Option1"));
    m_option1->setGeometry(6, 19, 254, 18);
    m_option5 = new QRadioButton(QStringLiteral("5 radiations ( 400 / 500 / 600 / 700 / 800 nm )"), p);
    m_option5->setObjectName(QStringLiteral("Option5"));
    m_option5->setGeometry(6, 37, 256, 18);
    m_option2 = new QRadioButton(QStringLiteral("lumière polychromatique blanche"), p);
    m_option2->setObjectName(QStringLiteral("Option2"));
    m_option2->setGeometry(6, 55, 254, 18);
    m_option5->setChecked(true);

    m_spectrum = new QLabel(p);
    m_spectrum->setObjectName(QStringLiteral("Image1"));
    m_spectrum->setGeometry(8, 76, 159, 31);
    m_spectrum->setPixmap(spectrumStrip(QSize(159, 31)));
    setHint(m_spectrum, QStringLiteral("Pour affiner le réglage de la longueur d'onde, utiliser les boutons < et >"));
    m_hscroll = new QScrollBar(Qt::Horizontal, p);
    m_hscroll->setObjectName(QStringLiteral("HScroll1"));
    m_hscroll->setGeometry(8, 108, 159, 17);
    m_hscroll->setRange(400, 800);
    m_hscroll->setSingleStep(1);
    m_hscroll->setPageStep(25);
    m_hscroll->setValue(589);
    addLabel(p, "Label6", QStringLiteral("λ ="), {176, 92, 24, 16});
    m_label7 = addLabel(p, "Label7", QStringLiteral("589"), {200, 90, 32, 20});
    m_label7->setAlignment(Qt::AlignCenter);
    m_label7->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_label7->setStyleSheet(QStringLiteral("background: white;"));
    QFont f = m_label7->font();
    f.setBold(true);
    m_label7->setFont(f);
    addLabel(p, "Label8", QStringLiteral("nm"), {236, 92, 24, 16});

    connect(m_option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            onSourceMonochromaticOrFive();
    });
    connect(m_option5, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            onSourceMonochromaticOrFive();
    });
    connect(m_option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            onSourceWhite();
    });
    connect(m_hscroll, &QScrollBar::valueChanged, this, &Vorlac::onWavelengthChanged);
    connect(m_hscroll, &QScrollBar::sliderReleased, this, &Vorlac::onWavelengthReleased);
    setHint(m_sourcePanel,
            QStringLiteral("La longueur d'onde de la lumière émise par la source monochromatique varie de 400 à 800 nm"));
}

void Vorlac::buildDisplayPanel()
{
    m_displayPanel = makePanel("Frame1", {152, 336, 265, 73}, "Label24", QStringLiteral("Options affichage"));
    auto *group = new QGroupBox(QStringLiteral("Affichage"), m_displayPanel);
    group->setObjectName(QStringLiteral("Frame1Box"));
    group->setGeometry(3, 17, 259, 54);
    m_normales = new QCheckBox(QStringLiteral("Normales aux dioptres"), group);
    m_normales->setObjectName(QStringLiteral("normales"));
    m_normales->setGeometry(6, 17, 150, 17);
    m_normales->setToolTip(QStringLiteral("Représenter les normales aux dioptres"));
    m_propa = new QCheckBox(QStringLiteral("Sens de propagation"), group);
    m_propa->setObjectName(QStringLiteral("propa"));
    m_propa->setGeometry(6, 35, 150, 17);
    m_propa->setToolTip(QStringLiteral("Sens de propagation de la lumière"));
    m_propa->setChecked(true);
    m_option3 = new QRadioButton(QStringLiteral("Fond noir"), group);
    m_option3->setObjectName(QStringLiteral("Option3"));
    m_option3->setGeometry(164, 17, 90, 17);
    m_option3->setToolTip(QStringLiteral("Représentation de l'expérience en couleur"));
    m_option4 = new QRadioButton(QStringLiteral("Fond blanc"), group);
    m_option4->setObjectName(QStringLiteral("Option4"));
    m_option4->setGeometry(164, 35, 90, 17);
    m_option4->setToolTip(QStringLiteral("Schéma de principe en noir sur fond blanc"));
    m_option3->setChecked(true);
    connect(m_normales, &QCheckBox::toggled, this, &Vorlac::onMarksToggled);
    connect(m_propa, &QCheckBox::toggled, this, &Vorlac::onMarksToggled);
    connect(m_option3, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            onBackground();
    });
    connect(m_option4, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            onBackground();
    });
    setHint(m_displayPanel,
            QStringLiteral("Les paramètres d'affichage interviennent également sur l'image copiée ou imprimée."));
    setHint(group, QStringLiteral("Les paramètres d'affichage interviennent également sur l'image copiée ou imprimée."));
}

void Vorlac::buildProtractorPanel()
{
    m_protractorPanel = makePanel("Picture2", {8, 48, 129, 121}, "Label25", QStringLiteral("Mesurer un angle"));
    QWidget *p = m_protractorPanel;
    auto *text = addLabel(p, "Label5", QStringLiteral("Angle mesuré par le rapporteur:"), {6, 24, 118, 30});
    text->setWordWrap(true);
    auto *value = addLabel(p, "Label10", QStringLiteral("90,0"), {14, 58, 100, 28});
    value->setAlignment(Qt::AlignCenter);
    QFont big = value->font();
    big.setPixelSize(20);
    big.setBold(true);
    value->setFont(big);
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    value->setStyleSheet(QStringLiteral("background: white;"));
    auto *deg = addLabel(p, "Label17", QStringLiteral("degrés"), {14, 90, 100, 15});
    deg->setAlignment(Qt::AlignCenter);
    auto *close = new ClickLabel(p);
    close->setObjectName(QStringLiteral("Image4"));
    close->setGeometry(110, 100, 16, 16);
    close->setPixmap(svgPicture(QStringLiteral("close_small"), QSize(16, 16), devicePixelRatioF()));
    close->setToolTip(QStringLiteral("Fermer rapporteur"));
    close->setCursor(Qt::PointingHandCursor);
    connect(close, &ClickLabel::clicked, m_protractorPanel, &QWidget::hide);
    setHint(m_protractorPanel, kProtractorHint);
}

void Vorlac::buildTableFrame()
{
    m_tableFrame = new QFrame(this);
    m_tableFrame->setObjectName(QStringLiteral("Frame4"));
    m_tableFrame->setGeometry(8, 336, 409, 209);
    m_tableFrame->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_tableFrame->setAutoFillBackground(true);
    QPalette pal = m_tableFrame->palette();
    pal.setColor(QPalette::Window, Qt::white);
    m_tableFrame->setPalette(pal);
    m_tableFrame->hide();

    auto *title = new ClickLabel(QStringLiteral(" Tableau de valeurs  "), m_tableFrame);
    title->setObjectName(QStringLiteral("Label26"));
    title->setGeometry(88, 0, 321, 19);
    title->setToolTip(QStringLiteral("Fermer"));
    title->setAutoFillBackground(true);
    QPalette tp = title->palette();
    tp.setColor(QPalette::Window, kNavy);
    tp.setColor(QPalette::WindowText, Qt::white);
    title->setPalette(tp);
    QFont bold = font();
    bold.setBold(true);
    title->setFont(bold);
    title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    title->setCursor(Qt::PointingHandCursor);

    // The menu button of the table, drawn over the left end of the title bar.
    auto *menuIcon = new ClickLabel(m_tableFrame);
    menuIcon->setObjectName(QStringLiteral("Image5"));
    menuIcon->setGeometry(0, 0, 113, 19);
    {
        QPixmap pm(113 * devicePixelRatioF(), 19 * devicePixelRatioF());
        pm.setDevicePixelRatio(devicePixelRatioF());
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient g(0, 0, 0, 19);
        g.setColorAt(0, QColor(250, 250, 245));
        g.setColorAt(1, QColor(214, 214, 200));
        p.setBrush(g);
        p.setPen(QColor(90, 90, 110));
        p.drawRoundedRect(QRectF(0.5, 0.5, 112, 18), 3, 3);
        p.setPen(kNavy);
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(7, 5.5 + 4 * i), QPointF(17, 5.5 + 4 * i));
        QFont f = font();
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(22, 0, 76, 19), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Commandes"));
        QPolygonF tri;
        tri << QPointF(100, 7.5) << QPointF(108, 7.5) << QPointF(104, 12.5);
        p.setBrush(kNavy);
        p.setPen(Qt::NoPen);
        p.drawPolygon(tri);
        p.end();
        menuIcon->setPixmap(pm);
    }
    menuIcon->setToolTip(QStringLiteral("Commandes du tableau"));
    menuIcon->setCursor(Qt::PointingHandCursor);
    connect(menuIcon, &ClickLabel::clicked, this,
            [this] { m_menutableau->popup(m_tableFrame->mapToGlobal(QPoint(0, 0))); });
    connect(title, &ClickLabel::clicked, this, [this] { m_tableButton->setChecked(false); });
    connect(m_tableButton, &QToolButton::toggled, m_tableFrame, &QWidget::setVisible);
}

void Vorlac::buildExerciseArea()
{
    m_image2 = new QLabel(this);
    m_image2->setObjectName(QStringLiteral("Image2"));
    m_image2->setGeometry(144, 296, 32, 32);
    m_image2->setPixmap(svgPicture(QStringLiteral("hint"), QSize(32, 32), devicePixelRatioF()));

    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("info"));
    m_info->setGeometry(184, 296, 233, 33);
    m_info->setWordWrap(true);
    m_info->setAutoFillBackground(true);
    m_info->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_info->setMargin(1);
    QPalette ip = m_info->palette();
    ip.setColor(QPalette::Window, ip.color(QPalette::ToolTipBase));
    ip.setColor(QPalette::WindowText, ip.color(QPalette::ToolTipText));
    m_info->setPalette(ip);
    m_info->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_fich = new QLineEdit(this);
    m_fich->setObjectName(QStringLiteral("fich"));
    m_fich->setGeometry(504, 296, 281, 19);
    m_fich->setReadOnly(true);
    connect(m_fich, &QLineEdit::textChanged, this, [this](const QString &t) {
        m_fich->setCursorPosition(static_cast<int>(t.size()));
        m_fich->setToolTip(t);
    });

    m_btexo = new ClickLabel(QStringLiteral("Exercices"), this);
    m_btexo->setObjectName(QStringLiteral("btexo"));
    m_btexo->setGeometry(424, 296, 97, 19);
    m_btexo->setAlignment(Qt::AlignCenter);
    m_btexo->setAutoFillBackground(true);
    QPalette tp = m_btexo->palette();
    tp.setColor(QPalette::Window, kNavy);
    tp.setColor(QPalette::WindowText, Qt::white);
    m_btexo->setPalette(tp);
    QFont bold = font();
    bold.setBold(true);
    m_btexo->setFont(bold);
    m_btexo->setCursor(Qt::PointingHandCursor);
    m_btexo->setFrameStyle(QFrame::Panel | QFrame::Raised);
    setHint(m_btexo, QStringLiteral(
                         "Ouvrir un énoncé d'exercice, enregistrer le texte, obtenir la correction, imprimer ou fermer."));
    connect(m_btexo, &ClickLabel::clicked, this, &Vorlac::onExercisesTab);

    m_supertext = new QTextEdit(this);
    m_supertext->setObjectName(QStringLiteral("supertext"));
    m_supertext->setGeometry(424, 315, 361, 230);
    m_supertext->setContextMenuPolicy(Qt::NoContextMenu);
    m_supertext->viewport()->installEventFilter(this);
    connect(m_supertext, &QTextEdit::textChanged, this, [this] {
        if (!m_fich->text().isEmpty())
            exerciseTextModified = 1;
    });
}

void Vorlac::buildMenus()
{
    auto makeMenu = [this](const char *name, std::initializer_list<std::pair<const char *, QString>> items) {
        auto *menu = new QMenu(this);
        menu->setObjectName(QString::fromLatin1(name));
        for (const auto &[item, caption] : items) {
            QAction *a = caption == QStringLiteral("-") ? menu->addSeparator() : menu->addAction(caption);
            a->setObjectName(QString::fromLatin1(item));
        }
        return menu;
    };
    m_menutableau = makeMenu("menutableau", {
                                                {"nblignes", QStringLiteral("Nombre de lignes")},
                                                {"insligsous", QStringLiteral("Insérer une ligne au dessus de la cellule active")},
                                                {"insereligne", QStringLiteral("Insérer une ligne à la fin du tableau")},
                                                {"efflig", QStringLiteral("Supprimer la ligne de la cellule active")},
                                                {"sep", QStringLiteral("-")},
                                                {"formatsc", QStringLiteral("Format d'écriture des données")},
                                                {"sep1", QStringLiteral("-")},
                                                {"repgraphe", QStringLiteral("Représentation graphique")},
                                                {"sep2", QStringLiteral("-")},
                                                {"efftableau", QStringLiteral("Effacer le tableau")},
                                                {"fermtab", QStringLiteral("Cacher le tableau")},
                                            });
    m_menucol = makeMenu(
        "menucol", {
                       {"calcutab", QStringLiteral("Calculer")},
                       {"vexpress", QStringLiteral("Voir expression")},
                       {"recalc", QStringLiteral("Recalculer")},
                       {"suitar", QStringLiteral("Suite arithmétique")},
                       {"sepdesep", QStringLiteral("-")},
                       {"effcol", QStringLiteral("Affacer la colonne")},
                       {"titrecol", QStringLiteral("Titre de la colonne")},
                       {"sep25", QStringLiteral("-")},
                       {"triertab", QStringLiteral("Trier la colonne de la cellule active dans l'ordre croissant")},
                       {"triertab2", QStringLiteral("trier la colonne de la cellule active dans l'ordre décroissant")},
                   });
    m_menucopie = makeMenu("menucopie", {
                                            {"cop003", QStringLiteral("Copier le contenu du tableau")},
                                            {"cop002", QStringLiteral("Copier une image du tableau")},
                                            {"sepsap", QStringLiteral("-")},
                                            {"cop001", QStringLiteral("Copier le schéma de l'expérience")},
                                        });
    m_optionexo = makeMenu("optionexo", {
                                            {"PRISENMAIN", QStringLiteral("Prise en main")},
                                            {"separation1", QStringLiteral("-")},
                                            {"openexo", QStringLiteral("Ouvrir un exercice (énoncé + configuration)")},
                                            {"opencor", QStringLiteral("Voir la correction")},
                                            {"separation2", QStringLiteral("-")},
                                            {"savetexte", QStringLiteral("Enregistrer le contenu de la fenêtre exercice")},
                                            {"opentexte", QStringLiteral("Retrouver un texte")},
                                            {"imprimetexte", QStringLiteral("Imprimer le contenu de la fenêtre exercice")},
                                            {"separation3", QStringLiteral("-")},
                                            {"Closexo", QStringLiteral("Fermer l'exercice")},
                                        });
    if (QAction *hide = m_menutableau->findChild<QAction *>(QStringLiteral("fermtab")))
        connect(hide, &QAction::triggered, this, [this] { m_tableButton->setChecked(false); });
}

// ---------------------------------------------------------------------------------------------
// Start-up and the window frame

void Vorlac::startUp()
{
    TableNumberFormat = QStringLiteral("########0.000");

    m_programDir = m_env.programDirectory.isEmpty() ? QCoreApplication::applicationDirPath() : m_env.programDirectory;
    if (!m_programDir.endsWith(QLatin1Char('/')) && !m_programDir.endsWith(QDir::separator()))
        m_programDir += QLatin1Char('/');
    writeMarker(QStringLiteral("OUI"));

    applySmallScreenRule();
    m_state.loadingSituation = false;

    WriteIntroduction(*m_supertext->document());
    m_supertext->moveCursor(QTextCursor::Start);
    m_supertext->setReadOnly(true);

    for (QComboBox *list : {m_combo1, m_combo2}) {
        list->clear();
        for (int row = 0; row < kMaterialCount; ++row)
            list->addItem(materialName(row));
        list->setCurrentIndex(-1);
    }
    selectMaterial(m_combo1, 2);
    selectMaterial(m_combo2, 0);

    setInfo(kStartHint);

    m_option3->setChecked(true);
    onBackground();

    FillSpectrumColours(m_spectrumColour);
    m_state.incidenceAngle = 36.0;
    m_dessin->move(0, -m_vscroll->value());
    RedrawScene();
    RedrawWhiteLight();

    m_copyConfirmation = QStringLiteral(
        "L'image est copiée: vous pouvez la retrouver depuis toute application Windows (coller)");
    protractorLineAngle = 1.571;
}

void Vorlac::writeMarker(const QString &text)
{
    // Failures (a read-only folder) are ignored: start-up and closing go on.
    writeRecordInPlace(m_programDir + kMarkerFile, kMarkerRecord, text);
}

QSize Vorlac::screenSize() const
{
    if (m_env.screenSize)
        return m_env.screenSize();
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->size() : QSize(1024, 768);
}

void Vorlac::applySmallScreenRule()
{
    if (m_applyingRule)
        return;
    const QSize screen = screenSize();
    if (screen.width() >= 850)
        return;
    m_applyingRule = true;
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    const QSize frameExtra = isVisible() ? frameGeometry().size() - geometry().size() : QSize(0, 0);
    const QSize outer(800, 600);
    if (size() != outer - frameExtra)
        resize(outer - frameExtra);
    const QPoint topLeft((screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2);
    if (pos() != topLeft)
        move(topLeft);
    m_applyingRule = false;
}

void Vorlac::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    applySmallScreenRule();
}

void Vorlac::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    applySmallScreenRule();
}

void Vorlac::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange)
        applySmallScreenRule();
}

void Vorlac::paintBackground(QPainter &p) const
{
    // White at the top to RGB(200, 200, 180) at line 600; the rest keeps the last colour.
    const int w = std::max(800, width());
    for (int y = 0; y <= 600; ++y) {
        const int r = toInt16(255 - 55.0 * y / 600);
        const int b = toInt16(255 - 75.0 * y / 600);
        p.setPen(QColor(r, r, b));
        p.drawLine(0, y, w, y);
    }
    if (height() > 601)
        p.fillRect(0, 601, w, height() - 601, QColor(200, 200, 180));
    // The shadow of the exercise area, 3 pixels to the right and below.
    const QRect text(424, 315, 361, 230);
    const int fichTop = 296;
    p.fillRect(QRect(QPoint(text.left() + 3, fichTop + 3), QPoint(text.left() + text.width() + 3,
                                                                    text.top() + text.height() + 3)),
               QColor(128, 128, 128));
}

void Vorlac::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintBackground(p);
}

void Vorlac::mouseMoveEvent(QMouseEvent *e)
{
    // Moves that a child left unhandled come here too; only the background itself counts.
    if (!childAt(e->position().toPoint()))
        setInfo(kStartHint);
    QWidget::mouseMoveEvent(e);
}

// ---------------------------------------------------------------------------------------------
// Hint line

QString Vorlac::info() const { return m_info->property("hintText").toString(); }

void Vorlac::setInfo(const QString &text)
{
    m_info->setProperty("hintText", text);
    const QString shown = QString(text).replace(kCrLf, QStringLiteral("\n"));
    // The longest hints need a slightly smaller type to stay within the line's two rows.
    const QRect room = m_info->contentsRect().adjusted(1, 0, -1, 0);
    QFont f = font();
    for (int px = 11; px >= 9; --px) {
        f.setPixelSize(px);
        const QRect need = QFontMetrics(f).boundingRect(room, Qt::TextWordWrap | Qt::AlignLeft, shown);
        if (need.height() <= room.height() || px == 9)
            break;
    }
    m_info->setFont(f);
    m_info->setText(shown);
}

void Vorlac::setHint(QWidget *w, const QString &text)
{
    m_hints.insert(w, text);
    w->setMouseTracking(true);
    w->installEventFilter(this);
}

bool Vorlac::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove: {
        const auto it = m_hints.constFind(watched);
        if (it != m_hints.constEnd()) {
            // Over "Copier" the confirmation of a copy stays readable.
            if (!(watched == m_copy && info() == m_copyConfirmation))
                setInfo(it.value());
        }
        break;
    }
    case QEvent::FocusIn:
        if (watched == m_combo1)
            setInfo(QStringLiteral("Vous pouvez choisir le matériau constituant le vorlac dans la liste ou en définir "
                                   "un autre"));
        else if (watched == m_combo2)
            setInfo(QStringLiteral("Vous pouvez choisir le matériau à l'extérieur du vorlac dans la liste ou en "
                                   "définir un autre"));
        break;
    case QEvent::MouseButtonRelease:
        if (watched == m_supertext->viewport() && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
            onExercisesTab();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Panels and commands

void Vorlac::onPanelIcon(int i)
{
    switch (i) {
    case 1:
        m_prismPanel->show();
        break;
    case 2:
        m_mediumPanel->show();
        break;
    case 3:
        m_displayPanel->show();
        break;
    case 4:
        m_sourcePanel->show();
        break;
    case 5: {
        m_protractorPanel->show();
        setInfo(kProtractorHint);
        if (auto *value = m_protractorPanel->findChild<QLabel *>(QStringLiteral("Label10"))) {
            QPalette pal = value->palette();
            pal.setColor(QPalette::WindowText, Qt::black);
            value->setPalette(pal);
        }
        break;
    }
    default:
        break;
    }
}

void Vorlac::onExercisesTab()
{
    if (QAction *a = m_optionexo->findChild<QAction *>(QStringLiteral("opencor")))
        a->setEnabled(correctionAvailable == 1);
    if (QAction *a = m_optionexo->findChild<QAction *>(QStringLiteral("Closexo")))
        a->setEnabled(!m_fich->text().isEmpty());
    m_optionexo->popup(m_btexo->mapToGlobal(QPoint(0, m_btexo->height())));
}

void Vorlac::onClose() { close(); }

void Vorlac::closeEvent(QCloseEvent *e)
{
    if (m_closeAccepted) {
        e->accept();
        return;
    }
    const Messenger &m = m_env.messenger;
    if (exerciseTextModified == 1 &&
        m.ask(this, QMessageBox::Question, QStringLiteral("Abandon des données?"),
              QStringLiteral("Attention: perte des modifications du texte."),
              QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        e->ignore();
        return;
    }
    if (m.ask(this, QMessageBox::Question, QStringLiteral("Fermer"), QStringLiteral("Fermer ce simulateur ?"),
              QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        e->ignore();
        return;
    }
    writeMarker(QStringLiteral("NON"));
    m_closeAccepted = true;
    e->accept();
    if (m_env.endProgram)
        m_env.endProgram();
    else
        QCoreApplication::exit(0);
}

// ---------------------------------------------------------------------------------------------
// Redraws

void Vorlac::RedrawScene()
{
    vorlac::RedrawScene(m_state, m_picture);
    m_dessin->placeOverlays();
    ++m_sceneRedraws;
    if (m_state.whiteRedrawPending)
        m_timer1->start();
}

void Vorlac::RedrawWhiteLight()
{
    m_timer1->stop();
    if (m_state.source != SourceType::WhiteLight)
        return;
    setWaitCursor(m_dessin);
    setWaitCursor(m_dessin->lamp());
    vorlac::RedrawWhiteLight(m_state, m_spectrumColour, m_picture);
    m_dessin->placeOverlays();
    m_dessin->unsetCursor();
    m_dessin->lamp()->setCursor(svgCursor(QStringLiteral("cursor_grab")));
    m_state.lampDragging = false;
    ++m_whiteRedraws;
}

void Vorlac::timer1Tick()
{
    if (m_option2->isChecked())
        RedrawWhiteLight();
    m_state.whiteRedrawPending = false;
    m_timer1->stop();
}

// ---------------------------------------------------------------------------------------------
// Lamp

void Vorlac::lampMouseMove(Qt::MouseButtons buttons, QPointF posInLamp)
{
    setInfo(QStringLiteral(
        "Pour déplacer la source lumineuse, utiliser la souris en maintenant le bouton gauche enfoncé"));
    const QWidget *lamp = m_dessin->lamp();
    const double x = posInLamp.x() + lamp->x();
    const double y = posInLamp.y() + lamp->y();
    lampMouseX = toInt16(x);
    lampMouseY = toInt16(y);
    if (lampMouseX == lastLampMouseX && lampMouseY == lastLampMouseY)
        return;
    lastLampMouseX = lampMouseX;
    lastLampMouseY = lampMouseY;

    // Direction the light comes from, anticlockwise with y upwards.
    const double mx = m_state.incidencePointX;
    double ang;
    if (x == mx) {
        ang = y < 125 ? -90.0 : 90.0;
    } else {
        ang = std::atan((y - 125) / (mx - x)) * 180 / 3.1415927;
        if (x > mx)
            ang += y > 125 ? 180.0 : -180.0;
    }
    const double candidate = ang + m_state.apexAngle / 2.0;
    const double current = m_state.incidenceAngle;
    if (candidate > current + 15 || candidate < current - 15 || candidate > 90 || candidate < -90)
        return;

    if (buttons == Qt::NoButton && m_state.lampDragging) {
        // The drag ended without a mouse-up on the lamp.
        m_state.lampDragging = false;
        m_state.whiteRedrawPending = false;
        if (m_option2->isChecked())
            RedrawWhiteLight();
    }
    if (buttons == Qt::LeftButton) {
        m_state.lampDragging = true;
        m_state.incidenceAngle = candidate;
        RedrawScene();
    } else {
        m_state.lampDragging = false;
    }
}

void Vorlac::lampMouseUp()
{
    if (m_option2->isChecked() && m_state.lampDragging)
        RedrawWhiteLight();
}

// ---------------------------------------------------------------------------------------------
// Source, display, prism and medium

void Vorlac::updateWavelengthReadouts(int lambda)
{
    const QString nm = QString::number(lambda) + QStringLiteral(" nm");
    m_label7->setText(QString::number(lambda));
    m_label20->setText(nm);
    m_label14->setText(nm);
    m_label4->setText(indexText(CauchyIndex(m_state.prismCauchyA, m_state.prismCauchyB, lambda)));
    m_label16->setText(indexText(CauchyIndex(m_state.outsideCauchyA, m_state.outsideCauchyB, lambda)));
}

void Vorlac::onWavelengthChanged(int value)
{
    m_state.wavelength = value;
    updateWavelengthReadouts(value);
    if (m_hscroll->isSliderDown())
        m_label7->repaint(); // the value follows the thumb
    else
        setInfo(QStringLiteral("Pour affiner le réglage de la longueur d'onde, utiliser les boutons < et >"));
    if (m_option1->isChecked())
        RedrawScene();
}

void Vorlac::onWavelengthReleased()
{
    setInfo(QStringLiteral("Pour affiner le réglage de la longueur d'onde, utiliser les boutons < et >"));
}

void Vorlac::onSourceMonochromaticOrFive()
{
    m_state.source = m_option1->isChecked() ? SourceType::Monochromatic : SourceType::FiveRadiations;
    RedrawScene();
    m_normales->setEnabled(true);
    m_propa->setEnabled(true);
    m_propa->setChecked(true);
}

void Vorlac::onSourceWhite()
{
    m_state.source = SourceType::WhiteLight;
    setWaitCursor(m_option2);
    m_normales->setChecked(false);
    m_propa->setChecked(false);
    m_normales->setEnabled(false);
    m_propa->setEnabled(false);
    RedrawScene();
    RedrawWhiteLight();
    m_option2->unsetCursor();
}

void Vorlac::onBackground()
{
    m_state.blackBackground = m_option3->isChecked();
    QRadioButton *option = m_option3->isChecked() ? m_option3 : m_option4;
    setWaitCursor(option);
    RedrawScene();
    if (m_option2->isChecked())
        RedrawWhiteLight();
    option->unsetCursor();
}

void Vorlac::onMarksToggled()
{
    m_state.showNormals = m_normales->isChecked();
    m_state.showPropagation = m_propa->isChecked();
    RedrawScene();
}

void Vorlac::onApexChanged(int value)
{
    m_state.apexAngle = value;
    m_apexLabel->setText(QString::number(value));
    setInfo(QStringLiteral("L'angle au sommet du vorlac peut") + kCrLf + QStringLiteral("varier de 2 à 90 degrés."));
    m_apexLabel->repaint();
    m_state.whiteRedrawPending = true;
    m_timer1->stop();
    RedrawScene();
}

void Vorlac::selectMaterial(QComboBox *list, int row)
{
    // A selection set by the program runs the handler as the pupil's choice would; setting the
    // row already selected changes nothing.
    if (list->currentIndex() == row)
        return;
    list->setCurrentIndex(row);
    onMaterialSelected(list);
}

void Vorlac::showIndex(QComboBox *list)
{
    const bool prism = list == m_combo1;
    const int lambda = m_hscroll->value();
    const float a = prism ? m_state.prismCauchyA : m_state.outsideCauchyA;
    const float b = prism ? m_state.prismCauchyB : m_state.outsideCauchyB;
    (prism ? m_label20 : m_label14)->setText(QString::number(lambda) + QStringLiteral(" nm"));
    (prism ? m_label4 : m_label16)->setText(indexText(CauchyIndex(a, b, lambda)));
}

void Vorlac::onMaterialSelected(QComboBox *list)
{
    const bool prism = list == m_combo1;
    const int row = list->currentIndex();
    if (row >= 0 && row < kCustomMaterial) {
        const Material &m = kMaterials[static_cast<std::size_t>(row)];
        (prism ? m_state.prismCauchyA : m_state.outsideCauchyA) = m.cauchyA;
        (prism ? m_state.prismCauchyB : m_state.outsideCauchyB) = m.cauchyB;
    } else if (row == kCustomMaterial) {
        m_state.customMaterialTarget = prism ? 2 : 1;
        if (!m_state.loadingSituation) {
            LoupeDialog dialog(
                m_state, m_env.messenger,
                [this, list, prism] { selectMaterial(list, prism ? m_state.prismMaterial : m_state.outsideMaterial); },
                this);
            dialog.exec();
        }
    }
    showIndex(list);
    setWaitCursor(list);
    if (m_option2->isChecked())
        RedrawWhiteLight();
    else
        RedrawScene();
    list->unsetCursor();
    (prism ? m_state.prismMaterial : m_state.outsideMaterial) = list->currentIndex();
}

} // namespace vorlac
