#include "situations/savedialog.h"

#include "common/messenger.h"
#include "common/panelstyle.h"
#include "situations/dialogplacement.h"
#include "situations/folderbrowser.h"
#include "situations/situationnames.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace vorlac
{

namespace
{

const QString kSaveTitle = QStringLiteral("Enregistrement impossible");

} // namespace

SaveDialog::SaveDialog(const Messenger &messenger, const QString &situationFileName, const QString &currentFolder,
                       SaveFunction save, QWidget *parent)
    : QDialog(parent), m_messenger(messenger), m_save(std::move(save)), m_currentFolder(currentFolder)
{
    setObjectName(QStringLiteral("enregistrer"));
    setWindowTitle(QStringLiteral("Enregistrer les paramètres."));
    setModal(true);
    setFixedSize(433, 305);

    QLabel *drive = addLabel(this, "Label1", QStringLiteral("Lecteur:"), {8, 8, 200, 16});
    QLabel *folder = addLabel(this, "Label3", QStringLiteral("Répertoire:"), {8, 54, 200, 16});
    QLabel *files = addLabel(this, "Label4", QStringLiteral("Fichiers enregistrés"), {216, 8, 209, 16});
    QLabel *fileName = addLabel(this, "Label2", QStringLiteral("Nom du fichier:"), {8, 226, 417, 16});

    m_browser = new FolderBrowser(currentFolder, this);
    m_browser->drives()->setGeometry(8, 24, 200, 24);
    m_browser->folders()->setGeometry(8, 70, 200, 150);
    m_browser->files()->setGeometry(216, 24, 209, 196);

    m_text1 = new QLineEdit(situationFileName, this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setGeometry(8, 242, 417, 22);
    // Each caption names its control for screen readers.
    drive->setBuddy(m_browser->drives());
    folder->setBuddy(m_browser->folders());
    files->setBuddy(m_browser->files());
    fileName->setBuddy(m_text1);

    m_command1 = addDialogButton(this, "Command1", QStringLiteral("ENREGISTRER"), {224, 272, 97, 25});
    m_command2 = addDialogButton(this, "Command2", QStringLiteral("ANNULER"), {328, 272, 97, 25});

    connect(m_command1, &QPushButton::clicked, this, &SaveDialog::saveCommand);
    connect(m_command2, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_text1, &QLineEdit::returnPressed, this, &SaveDialog::saveCommand);
    connect(m_browser, &FolderBrowser::folderChanged, this, &SaveDialog::onFolderChanged);
    connect(m_browser, &FolderBrowser::fileDoubleClicked, this, [this](const QString &name) {
        m_text1->setText(name);
        saveCommand();
    });

    placeBesideMainWindow(this, parent);
}

void SaveDialog::onFolderChanged()
{
    // The next save goes into the newly chosen folder.
    const QString text = m_text1->text();
    if (lastSeparator(text) >= 0)
        m_text1->setText(fileNamePart(text));
}

void SaveDialog::saveCommand()
{
    setCursor(Qt::WaitCursor);
    const std::optional<QString> name = buildSaveName(m_text1->text(), m_browser->folder());
    if (!name) {
        unsetCursor();
        m_messenger.critical(this, kSaveTitle, QStringLiteral("Il faut donner un nom au fichier!"));
        return;
    }
    m_text1->setText(*name);
    m_currentFolder = m_browser->folder();

    if (QFileInfo::exists(*name) &&
        m_messenger.ask(this, QMessageBox::Warning, QStringLiteral("Ce fichier existe déjà!"),
                        QStringLiteral("Ecraser le fichier existant?"),
                        QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        unsetCursor();
        return;
    }
    const bool saved = m_save(*name);
    unsetCursor();
    if (saved)
        accept();
}

} // namespace vorlac
