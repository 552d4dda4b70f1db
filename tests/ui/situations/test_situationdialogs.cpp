#include "common/messenger.h"
#include "situations/folderbrowser.h"
#include "situations/opendialog.h"
#include "situations/savedialog.h"
#include "situations/situationnames.h"
#include "testfiles.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <gtest/gtest.h>

using namespace vorlac;

namespace
{

class SituationDialogs : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path();
        messenger.show = [this](QWidget *, QMessageBox::Icon icon, const QString &title, const QString &text,
                                QMessageBox::StandardButtons) {
            shown.push_back({icon, title, text});
            const auto a = answers.empty() ? QMessageBox::Ok : answers.front();
            if (!answers.empty())
                answers.pop_front();
            return a;
        };
    }
    void touch(const QString &path, const QByteArray &bytes = "old") { writeAll(path, bytes); }
    QString path(const char *name) const { return folder + QLatin1Char('/') + QString::fromUtf8(name); }

    std::unique_ptr<SaveDialog> saveDialog(const QString &lastName = QString())
    {
        return std::make_unique<SaveDialog>(messenger, lastName, folder, [this](const QString &p) {
            saved.push_back(p);
            return saveSucceeds;
        });
    }

    struct Shown {
        QMessageBox::Icon icon;
        QString title, text;
    };
    QTemporaryDir dir;
    QString folder;
    Messenger messenger;
    std::vector<Shown> shown;
    std::deque<QMessageBox::StandardButton> answers;
    QStringList saved;
    bool saveSucceeds = true;
};

TEST_F(SituationDialogs, SaveLayoutAndTexts)
{
    auto d = saveDialog();
    EXPECT_EQ(d->objectName(), "enregistrer");
    EXPECT_EQ(d->windowTitle(), "Enregistrer les paramètres.");
    const std::pair<const char *, const char *> texts[] = {{"Label1", "Lecteur:"},
                                                           {"Label3", "Répertoire:"},
                                                           {"Label4", "Fichiers enregistrés"},
                                                           {"Label2", "Nom du fichier:"}};
    for (const auto &[name, text] : texts)
        EXPECT_EQ(d->findChild<QLabel *>(QString::fromLatin1(name))->text(), QString::fromUtf8(text));
    EXPECT_EQ(d->findChild<QPushButton *>(QStringLiteral("Command1"))->text(), "ENREGISTRER");
    EXPECT_EQ(d->findChild<QPushButton *>(QStringLiteral("Command2"))->text(), "ANNULER");
    EXPECT_EQ(d->browser()->folder(), QDir::cleanPath(folder));
    EXPECT_EQ(d->browser()->drives()->currentText(), "/");
}

TEST_F(SituationDialogs, SavingANameInTheListedFolder)
{
    for (const char *typed : {"essai", "a.b.c"}) {
        auto d = saveDialog();
        d->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QString::fromLatin1(typed));
        d->saveCommand();
        EXPECT_EQ(d->result(), QDialog::Accepted);
        EXPECT_EQ(d->currentFolder(), QDir::cleanPath(folder));
    }
    EXPECT_EQ(saved, (QStringList{path("essai.P01"), path("a.P01")}));
    EXPECT_TRUE(shown.empty());
}

TEST_F(SituationDialogs, EmptyNamesAreRefused)
{
    for (const char *typed : {".P01", "   ", "sub/", "sub/ .x"}) {
        shown.clear();
        auto d = saveDialog();
        d->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QString::fromLatin1(typed));
        d->saveCommand();
        ASSERT_EQ(shown.size(), 1u) << typed;
        EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
        EXPECT_EQ(shown[0].title, "Enregistrement impossible");
        EXPECT_EQ(shown[0].text, "Il faut donner un nom au fichier!");
        EXPECT_NE(d->result(), QDialog::Accepted);
    }
    EXPECT_TRUE(saved.isEmpty());
}

TEST_F(SituationDialogs, OverwriteAsksFirst)
{
    const QString existing = path("y.P01");
    touch(existing);
    auto d = saveDialog(existing);
    auto *text1 = d->findChild<QLineEdit *>(QStringLiteral("Text1"));
    EXPECT_EQ(text1->text(), existing);
    answers = {QMessageBox::No};
    d->saveCommand();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, QMessageBox::Warning);
    EXPECT_EQ(shown[0].title, "Ce fichier existe déjà!");
    EXPECT_EQ(shown[0].text, "Ecraser le fichier existant?");
    EXPECT_TRUE(saved.isEmpty());
    EXPECT_NE(d->result(), QDialog::Accepted);
    EXPECT_EQ(text1->text(), existing);
    EXPECT_EQ(d->cursor().shape(), Qt::ArrowCursor);

    answers = {QMessageBox::Yes};
    d->saveCommand();
    EXPECT_EQ(saved, QStringList{existing});
    EXPECT_EQ(d->result(), QDialog::Accepted);
}

TEST_F(SituationDialogs, AFailedSaveKeepsTheDialogOpen)
{
    saveSucceeds = false;
    auto d = saveDialog();
    d->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("essai"));
    d->saveCommand();
    EXPECT_EQ(saved.size(), 1);
    EXPECT_NE(d->result(), QDialog::Accepted);
}

TEST_F(SituationDialogs, ChoosingAnotherFolderMovesTheNameThere)
{
    QDir(folder).mkdir(QStringLiteral("autre"));
    QDir(folder).mkdir(QStringLiteral(".cache"));
    auto d = saveDialog(QStringLiteral("/x/y.P01"));
    auto *dir1 = d->browser()->folders();
    QStringList shownFolders;
    for (int i = 0; i < dir1->count(); ++i)
        shownFolders << dir1->item(i)->text().trimmed();
    EXPECT_TRUE(shownFolders.contains("autre"));
    EXPECT_FALSE(shownFolders.contains(".cache"));
    // Enter on the highlighted folder opens it
    dir1->setCurrentRow(int(shownFolders.indexOf("autre")));
    dir1->setFocus();
    QTest::keyClick(dir1, Qt::Key_Return);
    EXPECT_EQ(d->browser()->folder(), QDir::cleanPath(path("autre")));
    EXPECT_EQ(d->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), "y.P01");
    d->saveCommand();
    EXPECT_EQ(saved, QStringList{path("autre/y.P01")});
    // a name that carries its own folder stays there
    auto d2 = saveDialog();
    d2->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(path("autre/essai"));
    d2->saveCommand();
    EXPECT_EQ(saved.last(), path("autre/essai.P01"));
}

// Every control of both dialogs keeps a margin from the dialog's edges (the waiting panel
// Frame1 alone covers the whole dialog).
TEST_F(SituationDialogs, ControlsKeepAMarginFromTheEdges)
{
    const std::unique_ptr<QDialog> dialogs[] = {
        saveDialog(), std::make_unique<OpenDialog>(messenger, folder, [](const QString &) {})};
    for (const auto &d : dialogs) {
        for (QWidget *c : d->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (c->objectName() == QStringLiteral("Frame1") || c->isWindow())
                continue;
            const QRect g = c->geometry();
            const QRect inner = d->rect().adjusted(6, 6, -6, -6);
            EXPECT_TRUE(inner.contains(g)) << d->objectName().toStdString() << " " << c->objectName().toStdString();
        }
    }
}

TEST_F(SituationDialogs, OpenChecksTheNameThenLoadsAndCloses)
{
    QStringList loaded;
    bool panelShownDuringLoad = false;
    std::unique_ptr<OpenDialog> d;
    d = std::make_unique<OpenDialog>(messenger, folder, [&](const QString &p) {
        loaded << p;
        panelShownDuringLoad = d->findChild<QFrame *>(QStringLiteral("Frame1"))->isVisible() ||
                               !d->findChild<QFrame *>(QStringLiteral("Frame1"))->isHidden();
    });
    EXPECT_EQ(d->objectName(), "ouvrir");
    EXPECT_EQ(d->windowTitle(), "Ouvrir une configuration");
    EXPECT_EQ(d->findChild<QLabel *>(QStringLiteral("Label4"))->text(), "Patience: chargement du fichier");
    EXPECT_TRUE(d->findChild<QFrame *>(QStringLiteral("Frame1"))->isHidden());
    auto *ficharge = d->findChild<QLineEdit *>(QStringLiteral("ficharge"));

    ficharge->setText(QStringLiteral("   "));
    d->openCommand();
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(loaded.isEmpty());

    ficharge->setText(path("absent.P01"));
    d->openCommand();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "impossible d'ouvrir ce fichier");
    EXPECT_EQ(shown[0].text, "Nom de fichier incorrect ou chemin non valide");
    EXPECT_NE(d->result(), QDialog::Accepted);

    touch(path("essai.P01"));
    d->browser()->setFolder(folder); // relist
    auto *file1 = d->browser()->files();
    ASSERT_EQ(file1->count(), 1);
    emit file1->itemClicked(file1->item(0));
    EXPECT_EQ(ficharge->text(), path("essai.P01"));
    d->openCommand();
    EXPECT_EQ(loaded, QStringList{path("essai.P01")});
    EXPECT_TRUE(panelShownDuringLoad);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->currentFolder(), QDir::cleanPath(folder));
}

TEST_F(SituationDialogs, AnUnreadyDriveFallsBackToTheFolderDrive)
{
    auto d = saveDialog();
    QComboBox *drives = d->browser()->drives();
    drives->addItem(QStringLiteral("/no/such/volume"), QStringLiteral("/no/such/volume"));
    drives->setCurrentIndex(drives->count() - 1);
    d->browser()->chooseDrive(drives->count() - 1);
    EXPECT_EQ(d->browser()->folder(), QDir::cleanPath(folder));
    EXPECT_EQ(drives->currentData().toString(), vorlac::volumeRootOf(folder));
}

} // namespace
