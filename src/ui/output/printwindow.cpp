#include "output/printwindow.h"

#include "common/pictures.h"
#include "common/updown.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace vorlac
{

namespace
{

template <typename W> W *place(W *w, const char *name, QRect geometry)
{
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

} // namespace

PrintWindow::PrintWindow(PrintService &service, PrintSources sources, QWidget *parent)
    : QDialog(parent), m_service(service), m_sources(std::move(sources))
{
    setObjectName(QStringLiteral("confimp"));
    setWindowTitle(QStringLiteral("Imprimer"));
    setFixedSize(393, 262);

    m_frame1 = place(new QGroupBox(QStringLiteral("Options"), this), "Frame1", {12, 8, 369, 52});
    m_option2 =
        place(new QRadioButton(QStringLiteral("Le schéma de l'expérience"), m_frame1), "Option2", {12, 22, 200, 20});
    m_option1 = place(new QRadioButton(QStringLiteral("Le tableau"), m_frame1), "Option1", {240, 22, 120, 20});
    m_option2->setChecked(true);
    m_option1->setEnabled(m_sources.table != nullptr);

    const char *checNames[4] = {"Chec(0)", "Chec(1)", "Chec(2)", "Chec(3)"};
    const QString checTexts[4] = {
        QStringLiteral("Centrer l'image horizontalement"), QStringLiteral("Centrer l'image verticalement"),
        QStringLiteral("Imprimer les paramètres"), QStringLiteral("Imprimer l'image en miniature")};
    for (int i = 0; i < 4; ++i)
        m_chec[i] = place(new QCheckBox(checTexts[i], this), checNames[i], {24, 70 + 24 * i, 240, 20});
    m_chec[0]->setChecked(true);
    m_chec[2]->setChecked(true);

    QLabel *copies = place(new QLabel(QStringLiteral("Nombre d'exemplaires:"), this), "Label3", {24, 174, 140, 22});
    m_label4 = place(new QLabel(QStringLiteral("1"), this), "Label4", {166, 174, 34, 22});
    m_label4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_label4->setAlignment(Qt::AlignCenter);
    m_label4->setAutoFillBackground(true);
    m_label4->setBackgroundRole(QPalette::Base);
    m_upDown1 = place(new UpDown(this), "UpDown1", {200, 174, 17, 22});
    m_upDown1->setRange(1, 40);
    m_upDown1->setValue(1);
    copies->setBuddy(m_upDown1); // its name for screen readers
    connect(m_upDown1, &UpDown::valueChanged, this, [this](int v) { m_label4->setText(QString::number(v)); });

    QLabel *printer = place(new QLabel(QStringLiteral("Imprimante:"), this), "Label2", {24, 222, 80, 22});
    m_defaut = place(new QLineEdit(this), "defaut", {104, 222, 277, 22});
    printer->setBuddy(m_defaut);
    m_defaut->setReadOnly(true);

    m_command1 = place(new QPushButton(QStringLiteral("&OK"), this), "Command1", {280, 70, 101, 28});
    m_command2 = place(new QPushButton(QStringLiteral("&Imprimantes"), this), "Command2", {280, 106, 101, 28});
    m_command3 = place(new QPushButton(QStringLiteral("&Annuler"), this), "Command3", {280, 142, 101, 28});
    m_command1->setDefault(true);

    m_frame2 = place(new QFrame(this), "Frame2", {12, 8, 369, 52});
    m_frame2->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto *hourglass = place(new QLabel(m_frame2), "Image1", {10, 10, 32, 32});
    hourglass->setPixmap(svgPicture(QStringLiteral("hourglass"), QSize(32, 32)));
    auto *label1 = place(new QLabel(QStringLiteral("Veuillez patienter quelques instants..."), m_frame2), "Label1",
                         {54, 10, 300, 32});
    QFont bold = label1->font();
    bold.setBold(true);
    label1->setFont(bold);
    m_frame2->hide();

    connect(m_option1, &QRadioButton::clicked, this, [this] { setPictureOptionsEnabled(false); });
    connect(m_option2, &QRadioButton::clicked, this, [this] { setPictureOptionsEnabled(true); });
    connect(m_command1, &QPushButton::clicked, this, [this] { printNow(); });
    connect(m_command2, &QPushButton::clicked, this, [this] {
        m_service.setupOnly(this);
        loadActions();
    });
    connect(m_command3, &QPushButton::clicked, this, &QDialog::reject);

    loadActions();
}

void PrintWindow::loadActions()
{
    // move() places the frame's corner; on a window already shown but not yet framed by the
    // window manager it places the inside instead, and the next placement (after
    // "&Imprimantes") moved the window down by the title bar. Loading is before any frame.
    if (QWidget *owner = parentWidget()) {
        const QRect frame = owner->window()->frameGeometry();
        move(frame.left() + (frame.width() - width()) / 2, frame.top() + 20);
    }
    m_defaut->setText(m_service.printerName());
}

void PrintWindow::setPictureOptionsEnabled(bool enabled)
{
    // Greyed in dark grey while the table is chosen; the marks themselves are kept.
    for (QCheckBox *c : m_chec) {
        QPalette pal = c->palette();
        pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
        pal.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
        pal.setColor(QPalette::Active, QPalette::WindowText, Qt::black);
        pal.setColor(QPalette::Inactive, QPalette::WindowText, Qt::black);
        c->setPalette(pal);
        c->setEnabled(enabled);
    }
}

int PrintWindow::copies() const
{
    return m_upDown1->value();
}

FigurePageOptions PrintWindow::figureOptions() const
{
    FigurePageOptions o;
    o.centreHorizontally = m_chec[0]->isChecked();
    o.centreVertically = m_chec[1]->isChecked();
    o.printReport = m_chec[2]->isChecked();
    o.miniature = m_chec[3]->isChecked();
    const PrintEnvironment &env = m_service.environment();
    o.screenDpiX = env.screenDpiX ? env.screenDpiX() : 96.0;
    o.screenDpiY = env.screenDpiY ? env.screenDpiY() : 96.0;
    return o;
}

void PrintWindow::showWaiting(bool waiting)
{
    m_command1->setVisible(!waiting);
    m_command2->setVisible(!waiting);
    m_command3->setVisible(!waiting);
    m_frame1->setVisible(!waiting);
    m_frame2->setVisible(waiting);
    if (waiting)
        repaint();
}

PrintOutcome PrintWindow::printNow()
{
    const int n = copies();
    const bool table = m_option1->isChecked();
    PageDrawer draw;
    if (table) {
        draw = [this, n](PrintPages &pages) {
            if (!m_sources.table)
                return false;
            return paintTableCopies(pages.painter(), PageMetrics::of(pages.device()), *m_sources.table, m_sources.grid,
                                    n, [&pages] { return pages.newPage(); });
        };
    } else {
        const FigurePageOptions options = figureOptions();
        draw = [this, n, options](PrintPages &pages) {
            // The figure is taken now, with the overlays as the view shows them at this moment.
            const QImage figure = m_sources.figure ? m_sources.figure() : QImage();
            if (figure.isNull())
                return false;
            const std::vector<ReportLine> report = options.printReport && m_sources.report
                                                       ? parameterReport(m_sources.report())
                                                       : std::vector<ReportLine>{};
            return paintFigureCopies(pages.painter(), PageMetrics::of(pages.device()), figure, options, report, n,
                                     [&pages] { return pages.newPage(); });
        };
    }
    const PrintOutcome outcome = m_service.print(this, QStringLiteral("Vorlac"), draw, [this] { showWaiting(true); });
    showWaiting(false);
    if (outcome == PrintOutcome::Printed)
        accept();
    return outcome;
}

} // namespace vorlac
