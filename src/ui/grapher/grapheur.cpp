#include "grapher/grapheur.h"

#include "common/clicklabel.h"
#include "common/pictures.h"
#include "common/titlestrip.h"
#include "grapher/curvereadingdialog.h"
#include "grapher/graphpainter.h"
#include "grapher/graphsheet.h"
#include "output/printservice.h"
#include "table/valuetable.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <cmath>

namespace vorlac
{

namespace
{

constexpr int kPanelWidth = 158;
constexpr int kTitleHeight = 41;
const QColor kLightGrey(192, 192, 192);
const QColor kDarkGrey(128, 128, 128);

// A check box whose caption wraps onto several lines in a narrow panel; text() stays the caption.
class WrapCheckBox : public QCheckBox
{
  public:
    using QCheckBox::QCheckBox;

  protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter p(this);
        QStyleOptionButton opt;
        initStyleOption(&opt);
        const QString caption = opt.text;
        opt.text.clear();
        p.drawControl(QStyle::CE_CheckBox, opt);
        const QRect box = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, this);
        const QRect room(box.right() + 5, 0, width() - box.right() - 5, height());
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        p.drawText(room, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, caption);
    }
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }
};

} // namespace

Grapheur::Grapheur(const ValueTable &table, PrintService *printService, Messenger messenger, QWidget *mainWindow,
                   ExportCommands *exports)
    : QDialog(mainWindow), m_table(table), m_print(printService), m_messenger(std::move(messenger)),
      m_ownExports(exports ? nullptr : std::make_unique<ExportCommands>(m_messenger)),
      m_exports(exports ? exports : m_ownExports.get())
{
    setObjectName(QStringLiteral("grapheur"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11); // 8 points
    setFont(font);
    setModal(true);
    if (mainWindow) {
        setWindowTitle(mainWindow->windowTitle());
        setGeometry(mainWindow->geometry());
    }
    const int minWidth = kPanelWidth + kGraphSize + 20;
    const int minHeight = kTitleHeight + kGraphSize + 20;
    setMinimumSize(minWidth, minHeight);
    resize(std::max(width(), minWidth), std::max(height(), minHeight));

    m_tito = new TitleStrip(QStringLiteral("Représentation graphique"), this);
    m_tito->setGeometry(0, 0, width(), kTitleHeight);

    m_combo1 = new QComboBox(this);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->setGeometry(85, 80, 60, 21);
    m_combo2 = new QComboBox(this);
    m_combo2->setObjectName(QStringLiteral("Combo2"));
    m_combo2->setGeometry(85, 115, 60, 21);
    // The captions are painted, so the lists carry them as their names for screen readers.
    m_combo1->setAccessibleName(QStringLiteral("Abscisse"));
    m_combo2->setAccessibleName(QStringLiteral("Ordonnée"));

    auto makeCheck = [this](const char *name, const QString &text, int y) {
        auto *c = new WrapCheckBox(text, this);
        c->setObjectName(QString::fromLatin1(name));
        c->setGeometry(12, y, 140, 30);
        c->setChecked(true);
        return c;
    };
    m_check1 = makeCheck("Check1", QStringLiteral("Lier les points"), 195);
    m_check2 = makeCheck("Check2", QStringLiteral("Afficher la grille"), 223);
    m_check3 = makeCheck("Check3", QStringLiteral("Représenter un point par une croix"), 251);

    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(12, 325, 136, 110);
    m_label1->setWordWrap(true);
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setScaleText(QStringLiteral("En abscisse une division correspond à"));

    m_picture1 = new QLabel(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    const int plotLeft = kPanelWidth + 1 + std::max(10, (width() - kPanelWidth - 1 - kGraphSize) / 2);
    const int plotTop = kTitleHeight + std::max(10, (height() - kTitleHeight - kGraphSize) / 2);
    m_picture1->setGeometry(plotLeft, plotTop, kGraphSize, kGraphSize);
    m_picture = QImage(kGraphSize, kGraphSize, QImage::Format_RGB32);
    m_picture.fill(graphcolour::White);
    m_picture1->setPixmap(QPixmap::fromImage(m_picture));

    auto makeButton = [this](const char *name, const char *picture, const QString &tip, int x) {
        auto *b = new ClickLabel(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setPixmap(svgPicture(QString::fromLatin1(picture), QSize(32, 32), devicePixelRatioF()));
        b->setToolTip(tip);
        b->setCursor(Qt::PointingHandCursor);
        b->setGeometry(x, height() - 52, 32, 32);
        return b;
    };
    m_image2 = makeButton("Image2", "tb_print", QStringLiteral("Imprimer le graphe"), 17);
    m_image4 = makeButton("Image4", "tb_copy", QStringLiteral("Copier"), 63);
    m_image5 = makeButton("Image5", "tb_close", QStringLiteral("Fermer"), 109);
    m_image2->setEnabled(m_print != nullptr);
    buildFitAndExport();

    for (int i = 1; i <= ValueTable::kColumns; ++i) {
        m_combo1->addItem(QStringLiteral("C%1").arg(i));
        m_combo2->addItem(QStringLiteral("C%1").arg(i));
    }
    // Selecting in code emits no `activated`: the load's redraw is called once, here.
    m_combo1->setCurrentIndex(0);
    m_combo2->setCurrentIndex(1);
    majgraf();

    // Another column makes the value of y meaningless: the reading goes before the redraw.
    for (QComboBox *c : {m_combo1, m_combo2}) {
        connect(c, &QComboBox::activated, this, [this] { m_readingY.reset(); });
        connect(c, &QComboBox::activated, this, &Grapheur::majgraf);
    }
    for (QCheckBox *c : {m_check1, m_check2, m_check3})
        connect(c, &QCheckBox::toggled, this, &Grapheur::majgraf);
    connect(m_combo3, &QComboBox::currentIndexChanged, this, &Grapheur::majgraf);
    connect(m_image6, &ClickLabel::clicked, this, &Grapheur::exportGraph);
    connect(m_readButton, &QPushButton::clicked, this, &Grapheur::askReading);
    connect(m_image2, &ClickLabel::clicked, this, &Grapheur::printGraph);
    connect(m_image4, &ClickLabel::clicked, this, &Grapheur::copyGraph);
    connect(m_image5, &ClickLabel::clicked, this, &QDialog::reject);
}

void Grapheur::setScaleText(const QString &text)
{
    m_scaleText = text;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_label1->setText(shown);
}

void Grapheur::majgraf()
{
    const int a = m_combo1->currentIndex();
    const int b = m_combo2->currentIndex();
    if (a < 0 || b < 0)
        return;
    QStringList x, y;
    for (int r = 1; r < m_table.Rows(); ++r) {
        x << m_table.TextMatrix(r, a);
        y << m_table.TextMatrix(r, b);
    }
    const GraphOptions options{m_check1->isChecked(), m_check2->isChecked(), m_check3->isChecked(), fitModel()};
    m_graph = ComputeGraph(x, y, options, m_table.locale());
    m_reading.reset();
    if (m_readingY && m_graph.fit.ok) {
        m_reading = readCurve(m_graph.fit, *m_readingY, m_table.locale());
        addCurveReading(m_graph, *m_reading, m_table.locale());
    }
    if (m_readButton)
        m_readButton->setEnabled(m_graph.fit.ok);
    m_picture = GraphImage(m_graph);
    // The screen shows the same plot drawn for its own pixels.
    const qreal ratio = devicePixelRatioF();
    m_picture1->setPixmap(QPixmap::fromImage(ratio > 1.0 ? GraphImage(m_graph, ratio) : m_picture));
    if (m_graph.scaleSentence)
        setScaleText(*m_graph.scaleSentence);
    ++m_redraws;
}

void Grapheur::printGraph()
{
    if (!m_print || !m_print->setupForJob(this))
        return;
    const QImage image = m_picture;
    PrintService &service = *m_print;
    service.print(this, QStringLiteral("Vorlac"), [&service, &image](PrintPages &pages) {
        QPagedPaintDevice &device = pages.device();
        const double f = std::nearbyint(service.screenToDeviceX(device));
        const int side = static_cast<int>(std::max(1.0, f) * image.width());
        const int x = static_cast<int>(std::nearbyint((device.width() - side) / 2.0));
        const int y = static_cast<int>(std::nearbyint((device.height() - side) / 2.0));
        pages.painter().drawImage(QRect(x, y, side, side), image);
        return true;
    });
}

void Grapheur::copyGraph()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(m_picture);
    if (clipboard->image().isNull())
        m_messenger.critical(this, QStringLiteral("Copier"),
                             QStringLiteral("Le graphe n'a pas pu être copié dans le presse-papiers."));
}

void Grapheur::buildFitAndExport()
{
    // Below the scale sentence: the model list, and the export icon above the three icons.
    m_fitCaption = new QLabel(QStringLiteral("Modèle :"), this);
    m_fitCaption->setObjectName(QStringLiteral("Label2"));
    m_fitCaption->setGeometry(12, 447, 46, 17);
    m_combo3 = new QComboBox(this);
    m_combo3->setObjectName(QStringLiteral("Combo3"));
    m_combo3->setGeometry(58, 445, 90, 21);
    const QString shortNames[] = {QStringLiteral("Aucun"), QStringLiteral("Proportionnel"), QStringLiteral("Affine"),
                                  QStringLiteral("Parabole"), QStringLiteral("Cauchy")};
    for (int i = 0; i < kFitModelCount; ++i) {
        m_combo3->addItem(shortNames[i]);
        m_combo3->setItemData(i, fitModelName(static_cast<FitModel>(i)), Qt::ToolTipRole);
    }
    m_combo3->setCurrentIndex(0);
    m_fitCaption->setBuddy(m_combo3);
    m_combo3->setToolTip(QStringLiteral("Modéliser les points par une courbe"));
    m_hints.insert(m_combo3, QStringLiteral("Choisir un modèle : la courbe ajustée aux points, son équation et R² "
                                            "s'inscrivent sur le graphe."));

    m_image6 = new ClickLabel(this);
    m_image6->setObjectName(QStringLiteral("Image6"));
    m_image6->setPixmap(svgPicture(QStringLiteral("tb_save"), QSize(32, 32), devicePixelRatioF()));
    m_image6->setToolTip(QStringLiteral("Exporter le graphe"));
    m_image6->setCursor(Qt::PointingHandCursor);
    m_image6->setFocusPolicy(Qt::StrongFocus);
    m_image6->setGeometry(17, height() - 90, 32, 32);
    m_hints.insert(m_image6, QStringLiteral("Enregistrer le graphe dans un fichier : image PNG, PNG double taille, "
                                            "dessin SVG ou document PDF."));

    // Beside the export icon, where the fit's result is looked at.
    m_readButton = new QPushButton(QStringLiteral("Lire sur la courbe"), this);
    m_readButton->setObjectName(QStringLiteral("LireCourbe"));
    m_readButton->setGeometry(54, height() - 88, 98, 28);
    m_readButton->setToolTip(QStringLiteral("Lire sur la courbe ajustée l'abscisse x d'une valeur de y"));
    m_readButton->setEnabled(false);
    m_hints.insert(m_readButton, QStringLiteral("Donner une valeur de y (tapée ou prise dans le tableau) : x est "
                                                "calculé sur la courbe ajustée et tracé avec ses traits de "
                                                "construction."));

    // The hint strip: over the right of the title strip, empty until the pointer is on a control
    // that has a hint.
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("info"));
    m_hint->setGeometry(kPanelWidth + 260, 2, std::max(200, width() - kPanelWidth - 270), kTitleHeight - 4);
    m_hint->setWordWrap(true);
    m_hint->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette pal = m_hint->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    m_hint->setPalette(pal);
    for (auto it = m_hints.constBegin(); it != m_hints.constEnd(); ++it) {
        static_cast<QWidget *>(it.key())->setMouseTracking(true);
        it.key()->installEventFilter(this);
    }
    // The icon answers Enter and Space as well as the mouse.
    m_image6->installEventFilter(this);
}

bool Grapheur::eventFilter(QObject *watched, QEvent *event)
{
    const auto it = m_hints.constFind(watched);
    if (it != m_hints.constEnd()) {
        if (event->type() == QEvent::Enter || event->type() == QEvent::FocusIn)
            m_hint->setText(it.value());
        else if (event->type() == QEvent::Leave || event->type() == QEvent::FocusOut)
            m_hint->clear();
    }
    if (watched == m_image6 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            exportGraph();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Grapheur::askReading()
{
    if (!m_graph.fit.ok)
        return;
    std::vector<std::pair<QString, double>> lines;
    const int column = m_combo2->currentIndex();
    for (int r = 1; r < m_table.Rows(); ++r) {
        const QString text = m_table.TextMatrix(r, column).trimmed();
        bool ok = false;
        const double v = m_table.locale().toDouble(text, &ok);
        if (ok && std::isfinite(v))
            lines.emplace_back(QStringLiteral("Ligne %1 : %2").arg(r).arg(text), v);
    }
    CurveReadingDialog dialog(lines, m_table.locale(), this);
    if (dialog.exec() == QDialog::Accepted && dialog.value())
        readCurveAt(*dialog.value());
}

void Grapheur::readCurveAt(double y)
{
    m_readingY = y;
    majgraf();
}

void Grapheur::clearReading()
{
    m_readingY.reset();
    majgraf();
}

QString Grapheur::hint() const
{
    return m_hint->text();
}

FitModel Grapheur::fitModel() const
{
    return static_cast<FitModel>(std::max(0, m_combo3->currentIndex()));
}

ExportCommands::Outcome Grapheur::exportGraph()
{
    // The file goes into a report: its numbers, axis names and scales go with it.
    const auto name = [this](int column) {
        const QString title = m_table.title(column).trimmed();
        return title.isEmpty() ? QStringLiteral("C%1").arg(column + 1) : title;
    };
    const GraphSheet sheet = layoutGraphSheet(m_graph, name(std::max(0, m_combo1->currentIndex())),
                                              name(std::max(0, m_combo2->currentIndex())), m_table.locale());
    return m_exports->exportPicture(this, QStringLiteral("Exporter le graphe"), QStringLiteral("graphe"),
                                    GraphSheetImage(sheet), [sheet](QPainter &p) { PaintGraphSheet(p, sheet, true); });
}

void Grapheur::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(QRect(0, 0, kPanelWidth, height()), kLightGrey);
    p.fillRect(QRect(kPanelWidth, 0, 2, height()), kDarkGrey);
    for (const int y : {160, 290}) {
        p.setPen(kDarkGrey);
        p.drawLine(10, y, 148, y);
        p.setPen(Qt::white);
        p.drawLine(10, y + 1, 148, y + 1);
    }
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(16); // 12 points
    title.setBold(true);
    p.setFont(title);
    const QFontMetrics tm(title);
    const struct {
        const char16_t *text;
        int row;
    } sections[] = {{u"Grandeurs:", 52}, {u"Options:", 172}, {u"Echelles:", 302}};
    for (const auto &s : sections) {
        const QString text = QString::fromUtf16(s.text);
        const int x = (kPanelWidth - tm.horizontalAdvance(text)) / 2;
        p.setPen(Qt::white);
        p.drawText(x, s.row + tm.ascent(), text);
        p.setPen(QColor(0, 0, 255));
        p.drawText(x - 1, s.row - 1 + tm.ascent(), text);
    }
    p.setFont(font());
    p.setPen(Qt::black);
    const QFontMetrics fm(font());
    const struct {
        const char16_t *text;
        const QComboBox *combo;
    } captions[] = {{u"Abscisse:  ", m_combo1}, {u"Ordonnée:  ", m_combo2}};
    for (const auto &c : captions) {
        const QString text = QString::fromUtf16(c.text);
        const QRect g = c.combo->geometry();
        p.drawText(g.left() - fm.horizontalAdvance(text), g.top() + (g.height() - fm.height()) / 2 + fm.ascent(), text);
    }
}

} // namespace vorlac
