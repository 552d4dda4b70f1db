#include "exercises/fichexo.h"

#include "common/messenger.h"
#include "common/pictures.h"
#include "common/titlestrip.h"
#include "exercises/exercisefile.h"
#include "situations/folderbrowser.h"
#include "situations/situationnames.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolButton>

namespace vorlac
{

namespace
{

constexpr int kTitleHeight = 41;
constexpr int kPanelWidth = 250;
constexpr int kMinWidth = 640;
constexpr int kMinHeight = 440;

QLabel *namedLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QToolButton *pictureButton(QWidget *parent, const char *name, const char *picture, const QString &tip)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(QIcon(svgPicture(QString::fromLatin1(picture), QSize(48, 48), parent->devicePixelRatioF())));
    b->setIconSize(QSize(48, 48));
    b->setAutoRaise(true);
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

} // namespace

Fichexo::Fichexo(const Messenger &messenger, const QString &startFolder, OpenFunction open, QWidget *mainWindow)
    : QDialog(mainWindow), m_messenger(messenger), m_open(std::move(open))
{
    setObjectName(QStringLiteral("Fichexo"));
    setModal(true);
    if (mainWindow) {
        setWindowTitle(mainWindow->windowTitle());
        setGeometry(mainWindow->geometry());
    }
    setMinimumSize(kMinWidth, kMinHeight);
    resize(std::max(width(), kMinWidth), std::max(height(), kMinHeight));

    m_tito = new TitleStrip(QStringLiteral("Ouvrir un exercice"), this);

    m_frame1 = new QFrame(this);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_frame1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_frame1->setAutoFillBackground(true);
    m_label5 = namedLabel(m_frame1, "Label5", QStringLiteral("Liste des exercices:"));
    m_browser = new FolderBrowser(startFolder, m_frame1, QStringLiteral(".E01"));
    m_browser->files()->installEventFilter(this);
    m_label5->setBuddy(m_browser->files()); // the list's name for screen readers
    m_browser->folders()->setAccessibleName(QStringLiteral("Répertoire"));

    m_fichierexo = new QLineEdit(this);
    m_fichierexo->setObjectName(QStringLiteral("fichierexo"));
    m_fichierexo->setToolTip(QStringLiteral("Chemin complet de l'exercice sélectionné"));

    m_titratexo = namedLabel(this, "titratexo", QString());
    QFont serif(QStringLiteral("Times New Roman"));
    serif.setStyleHint(QFont::Serif);
    serif.setPixelSize(24);
    serif.setBold(true);
    m_titratexo->setFont(serif);
    m_titratexo->setWordWrap(true);
    m_titratexo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_intratro = namedLabel(this, "intratro", QStringLiteral("Sélectionner un fichier"));
    QFont notice = font();
    notice.setPixelSize(16);
    notice.setItalic(true);
    m_intratro->setFont(notice);
    m_intratro->setAlignment(Qt::AlignCenter);

    m_label1 = namedLabel(this, "Label1", QStringLiteral("Notions abordées:"));
    m_text1 = new QPlainTextEdit(this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setReadOnly(true);
    m_text1->setAccessibleName(QStringLiteral("Notions abordées"));

    m_label4 = namedLabel(this, "Label4", QStringLiteral("Niveau de difficulté:"));
    for (QLabel *&picture : m_image4) {
        picture = namedLabel(this, "Image4", QString());
        picture->setFixedSize(32, 32);
    }

    QFont big = font();
    big.setPixelSize(20);
    big.setBold(true);
    m_label3 = namedLabel(this, "Label3", QString()); // the shadow, under Label2
    m_label3->setFont(big);
    m_label3->setStyleSheet(QStringLiteral("color: #808080;"));
    m_label2 = namedLabel(this, "Label2", QString());
    m_label2->setFont(big);
    m_label2->setStyleSheet(QStringLiteral("color: #000080;"));

    m_ouvreur = pictureButton(this, "ouvreur", "exo_open", QStringLiteral("Ouvrir l'exercice sélectionné"));
    m_image5 = pictureButton(this, "Image5", "exo_close", QStringLiteral("Fermer sans charger d'exercice"));

    m_frame2 = new QFrame(this);
    m_frame2->setObjectName(QStringLiteral("Frame2"));
    m_frame2->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_frame2->setLineWidth(2);
    m_frame2->setAutoFillBackground(true);
    m_frame2->setFixedSize(300, 90);
    auto *heading = namedLabel(m_frame2, "Label6", QStringLiteral(" Chargement des fichiers"));
    heading->setGeometry(2, 2, 296, 26);
    heading->setStyleSheet(QStringLiteral("background: #000080; color: white; font-weight: bold;"));
    auto *wait = namedLabel(m_frame2, "Label7", QStringLiteral("Patienter quelques instants"));
    wait->setGeometry(2, 30, 296, 58);
    wait->setAlignment(Qt::AlignCenter);
    m_frame2->hide();

    // Nothing is previewed yet: the notice only.
    m_label1->hide();
    m_text1->hide();
    m_label2->hide();
    m_label3->hide();
    apercu();

    connect(m_browser->files(), &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item)
            selectFile(item->text());
    });
    connect(m_browser, &FolderBrowser::fileDoubleClicked, this, [this] { openSelected(); });
    connect(m_ouvreur, &QToolButton::clicked, this, &Fichexo::openSelected);
    connect(m_image5, &QToolButton::clicked, this, &QDialog::reject);

    layOut();
}

void Fichexo::selectFile(const QString &name)
{
    m_exerciseFolder = m_browser->folder();
    if (!m_exerciseFolder.endsWith(QLatin1Char('/')))
        m_exerciseFolder += QLatin1Char('/');
    m_fichierexo->setText(m_exerciseFolder + name);
    apercu();
}

void Fichexo::apercu()
{
    m_text1->clear();
    for (QLabel *picture : m_image4)
        picture->hide();
    m_label4->hide();
    m_ouvreur->hide();
    if (isBlankRecord(m_fichierexo->text())) {
        m_intratro->show();
        return;
    }
    m_intratro->hide();
    m_label4->show();
    m_ouvreur->show();
    m_label1->show();
    m_text1->show();
    m_label2->show();
    m_label3->show();

    const std::optional<ExerciseFile> exercise = readExerciseFile(m_fichierexo->text());
    if (!exercise) {
        m_titratexo->clear();
        m_label2->clear();
        m_label3->clear();
        m_messenger.critical(this, QStringLiteral("Lecture impossible"),
                             QStringLiteral("Vérifier:\r\n- le nom du fichier,\r\n- l'état du lecteur."));
        return;
    }
    const QString corrected =
        exercise->corrected() ? QStringLiteral("Exercice corrigé") : QStringLiteral("Non corrigé");
    m_label2->setText(corrected);
    m_label3->setText(corrected);
    const int lit = exercise->litPictures();
    for (int i = 0; i < 3; ++i) {
        m_image4[i]->setPixmap(svgPicture(i < lit ? QStringLiteral("level_lit") : QStringLiteral("level_dark"),
                                          QSize(32, 32), devicePixelRatioF()));
        m_image4[i]->setToolTip(QStringLiteral("Niveau de difficulté : %1 sur 3").arg(lit));
        m_image4[i]->show();
    }
    m_text1->setPlainText(exercise->notionsText());
    m_titratexo->setText(exercise->title.trimmed());
}

void Fichexo::openSelected()
{
    const QString path = m_fichierexo->text().trimmed();
    if (path.isEmpty())
        return;
    m_frame2->show();
    m_frame2->raise();
    m_frame2->repaint();
    const bool opened = m_open && m_open(path);
    m_frame2->hide();
    if (opened)
        accept();
}

void Fichexo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Once only: a message box closing reactivates the window, and selecting again on every
    // activation would repeat a failed preview without end.
    if (m_firstShown)
        return;
    m_firstShown = true;
    QListWidget *files = m_browser->files();
    if (files->count() > 0) {
        const QList<QListWidgetItem *> chosen = files->findItems(m_selectOnShow, Qt::MatchExactly);
        files->setCurrentRow(chosen.isEmpty() ? 0 : files->row(chosen.first()));
        files->scrollToItem(files->currentItem());
        files->setFocus();
    }
}

bool Fichexo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_browser->files() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openSelected();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Fichexo::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    layOut();
}

void Fichexo::layOut()
{
    const int w = width();
    const int h = height();
    m_tito->setGeometry(0, 0, w, kTitleHeight);

    // The left panel starts 8 pixels above the bottom of the title strip.
    const int panelTop = kTitleHeight - 8;
    m_frame1->setGeometry(8, panelTop, kPanelWidth, h - panelTop - 8);
    const int inner = kPanelWidth - 16;
    const int listsHeight = m_frame1->height() - 64;
    m_label5->setGeometry(8, 8, inner, 18);
    m_browser->drives()->setGeometry(8, 28, inner, 24);
    m_browser->folders()->setGeometry(8, 56, inner, listsHeight / 2 - 4);
    m_browser->files()->setGeometry(8, 56 + listsHeight / 2, inner, listsHeight - listsHeight / 2);

    // fichierexo reaches the right edge.
    const int left = 8 + kPanelWidth + 12;
    const int right = w - 12;
    const int room = right - left;
    m_fichierexo->setGeometry(left, kTitleHeight + 8, w - left, 22);
    m_titratexo->setGeometry(left, kTitleHeight + 40, room, 64);
    m_intratro->setGeometry(left, kTitleHeight + 40, room, h / 2 - kTitleHeight);
    m_label1->setGeometry(left, kTitleHeight + 112, room, 18);
    const int notesHeight = std::max(60, h - kTitleHeight - 112 - 20 - 150);
    m_text1->setGeometry(left, kTitleHeight + 132, room, notesHeight);
    const int levelTop = kTitleHeight + 132 + notesHeight + 14;
    m_label4->setGeometry(left, levelTop + 7, 140, 18);
    for (int i = 0; i < 3; ++i)
        m_image4[i]->move(left + 144 + i * 38, levelTop);
    const int correctedTop = levelTop + 44;
    m_label2->setGeometry(left, correctedTop, 260, 28);
    m_label3->setGeometry(left + 2, correctedTop + 2, 260, 28);
    m_ouvreur->setGeometry(right - 2 * 58, h - 66, 56, 56);
    m_image5->setGeometry(right - 56, h - 66, 56, 56);
    m_frame2->move((w - m_frame2->width()) / 2, (h - m_frame2->height()) / 2);
}

} // namespace vorlac
