#include "situations/opendialog.h"

#include "common/messenger.h"
#include "common/panelstyle.h"
#include "common/pictures.h"
#include "situations/dialogplacement.h"
#include "situations/folderbrowser.h"
#include "situations/situationnames.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace vorlac
{

OpenDialog::OpenDialog(const Messenger &messenger, const QString &currentFolder, LoadFunction load, QWidget *parent)
    : QDialog(parent), m_messenger(messenger), m_load(std::move(load)), m_currentFolder(currentFolder)
{
    setObjectName(QStringLiteral("ouvrir"));
    setWindowTitle(QStringLiteral("Ouvrir une configuration"));
    setModal(true);
    setFixedSize(433, 305);

    QLabel *drive = addLabel(this, "Label1", QStringLiteral("Lecteur:"), {8, 8, 200, 16});
    QLabel *folder = addLabel(this, "Label2", QStringLiteral("Répertoire"), {8, 54, 200, 16});
    QLabel *files = addLabel(this, "Label3", QStringLiteral("Fichiers"), {216, 8, 209, 16});

    m_browser = new FolderBrowser(currentFolder, this);
    m_browser->drives()->setGeometry(8, 24, 200, 24);
    m_browser->folders()->setGeometry(8, 70, 200, 166);
    m_browser->files()->setGeometry(216, 24, 209, 212);

    m_command1 = addDialogButton(this, "Command1", QStringLiteral("OUVRIR"), {224, 244, 97, 25});
    m_command2 = addDialogButton(this, "Command2", QStringLiteral("ANNULER"), {328, 244, 97, 25});

    m_ficharge = new QLineEdit(this);
    m_ficharge->setObjectName(QStringLiteral("ficharge"));
    m_ficharge->setGeometry(8, 276, 417, 22); // the margin of the controls above
    m_ficharge->setAccessibleName(QStringLiteral("Fichier à ouvrir"));
    // Each caption names its control for screen readers.
    drive->setBuddy(m_browser->drives());
    folder->setBuddy(m_browser->folders());
    files->setBuddy(m_browser->files());

    m_frame1 = new QFrame(this);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_frame1->setGeometry(0, 0, 433, 305);
    m_frame1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_frame1->setAutoFillBackground(true);
    auto *image = addLabel(m_frame1, "Image1", QString(), {184, 96, 64, 64});
    image->setPixmap(svgPicture(QStringLiteral("tb_open"), QSize(64, 64), devicePixelRatioF()));
    auto *wait = addLabel(m_frame1, "Label4", QStringLiteral("Patience: chargement du fichier"), {8, 172, 417, 24});
    wait->setAlignment(Qt::AlignCenter);
    QFont bold = wait->font();
    bold.setBold(true);
    wait->setFont(bold);
    m_frame1->hide();

    connect(m_command1, &QPushButton::clicked, this, &OpenDialog::openCommand);
    connect(m_command2, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_browser, &FolderBrowser::fileClicked, this, [this](const QString &name) {
        m_ficharge->setText(joinFolder(m_browser->folder(), name));
        m_currentFolder = m_browser->folder();
    });
    connect(m_browser, &FolderBrowser::fileDoubleClicked, this, [this](const QString &name) {
        m_ficharge->setText(joinFolder(m_browser->folder(), name));
        m_currentFolder = m_browser->folder();
        openCommand();
    });

    placeBesideMainWindow(this, parent);
}

bool checkSituationPath(const Messenger &messenger, QWidget *parent, const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isDir())
        return true;
    messenger.critical(parent, QStringLiteral("impossible d'ouvrir ce fichier"),
                       QStringLiteral("Nom de fichier incorrect ou chemin non valide"));
    return false;
}

void OpenDialog::openCommand()
{
    const QString typed = m_ficharge->text();
    if (typed.trimmed().isEmpty())
        return;
    // A relative name is taken in the folder of the lists.
    const QString path = QDir::isRelativePath(typed) ? QDir(m_browser->folder()).filePath(typed) : typed;
    if (!checkSituationPath(m_messenger, this, path))
        return;
    m_frame1->show();
    m_frame1->raise();
    repaint(); // the waiting notice stays visible while the file is read
    m_load(path);
    accept();
}

} // namespace vorlac
