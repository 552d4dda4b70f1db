#include "help/chmbrowser.h"
#include "help/helpaccess.h"
#include "help/helpviewer.h"
#include "help/notationsdialog.h"
#include "testfiles.h"
#include "ui/dialogwatch.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>

using namespace vorlac;

namespace
{

QString dataDir()
{
    // The build copies the compiled help files beside the program; the tests run one level down.
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    return QString::fromStdString(exe.parent_path().parent_path().string()) + u'/';
}

class HelpTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        for (const char *name : {kHelpFileName, kCourseFileName})
            ASSERT_TRUE(QFile::copy(dataDir() + QString::fromLatin1(name), dir.filePath(QString::fromLatin1(name))));
        owner.resize(200, 100);
        messenger.show = [this](QWidget *, QMessageBox::Icon icon, const QString &title, const QString &text,
                                QMessageBox::StandardButtons) {
            messages.append(text);
            EXPECT_EQ(icon, QMessageBox::Critical);
            EXPECT_EQ(title, u"Aide");
            return QMessageBox::Ok;
        };
    }
    HelpAccess &access()
    {
        if (!help)
            help = std::make_unique<HelpAccess>(nullptr, dir.path(), messenger);
        return *help;
    }
    static void pressF1(QWidget *w) { QTest::keyClick(w, Qt::Key_F1); }

    QTemporaryDir dir;
    QWidget owner;
    Messenger messenger;
    QStringList messages;
    std::unique_ptr<HelpAccess> help;
};

} // namespace

TEST_F(HelpTest, HelpOpensAtItsContentsWithIndexAndFirstPage)
{
    HelpViewer *v = access().showHelp();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->findChild<QTabWidget *>(QStringLiteral("helpTabs"))->currentIndex(), HelpViewer::ContentsTab);
    auto *contents = v->findChild<QTreeWidget *>(QStringLiteral("contents"));
    ASSERT_GE(contents->topLevelItemCount(), 5);
    EXPECT_EQ(contents->topLevelItem(0)->text(0), u"Aide de Vorlac");
    EXPECT_EQ(v->currentPage(), u"/index.html");
    EXPECT_TRUE(v->browser()->toPlainText().contains(u"Vorlac simule la marche d'un rayon"));
    auto *index = v->findChild<QListWidget *>(QStringLiteral("index"));
    QStringList keywords;
    for (int k = 0; k < index->count(); ++k)
        keywords.append(index->item(k)->text());
    EXPECT_TRUE(keywords.contains(u"Rapporteur"));
    // Typing in the index keeps the matching keywords, accents ignored.
    v->findChild<QLineEdit *>(QStringLiteral("indexFilter"))->setText(QStringLiteral("memoire"));
    EXPECT_EQ(index->currentItem()->text(), u"Mémoire");
    // The same button again raises the same window.
    EXPECT_EQ(access().showHelp(), v);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(HelpTest, LinksBackForwardPicturesAndSearch)
{
    HelpViewer *v = access().showCourse();
    ASSERT_NE(v, nullptr);
    ChmBrowser *b = v->browser();
    b->setSource(ChmBrowser::pageUrl(QStringLiteral("/index.html")));
    // Follow the first link of the course's contents page, as a click would.
    const QUrl link = b->source().resolved(QUrl(QStringLiteral("prisme.html")));
    b->setSource(link);
    EXPECT_EQ(v->currentPage(), u"/prisme.html");
    EXPECT_TRUE(b->toPlainText().contains(u"Les quatre relations du prisme"));
    // The figures come from the archive.
    EXPECT_FALSE(b->loadResource(QTextDocument::ImageResource,
                                 b->source().resolved(QUrl(QStringLiteral("images/notations.svg"))))
                     .toByteArray()
                     .isEmpty());
    EXPECT_TRUE(b->isBackwardAvailable());
    v->findChild<QToolButton *>(QStringLiteral("back"))->click();
    EXPECT_EQ(v->currentPage(), u"/index.html");
    v->findChild<QToolButton *>(QStringLiteral("forward"))->click();
    EXPECT_EQ(v->currentPage(), u"/prisme.html");
    // Anything outside the archive is not read.
    EXPECT_TRUE(b->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("file:///etc/passwd"))).isNull());

    auto *text = v->findChild<QLineEdit *>(QStringLiteral("searchText"));
    auto *results = v->findChild<QListWidget *>(QStringLiteral("searchResults"));
    const struct {
        const char *words;
        const char *first;
    } rows[] = {{"cauchy", "La dispersion et la loi de Cauchy"}, {"angle LIMITE", nullptr}, {"xylophone", nullptr}};
    for (const auto &r : rows) {
        text->setText(QString::fromUtf8(r.words));
        v->findChild<QPushButton *>(QStringLiteral("searchButton"))->click();
        ASSERT_GE(results->count(), 1) << r.words;
        if (r.first) {
            EXPECT_EQ(results->item(0)->text(), QString::fromUtf8(r.first));
        }
    }
    EXPECT_EQ(results->item(0)->text(), u"Aucune page ne contient ces mots.");
    text->setText(QStringLiteral("limite"));
    v->search(text->text());
    ASSERT_GE(results->count(), 1);
    emit results->itemClicked(results->item(0));
    EXPECT_TRUE(b->toPlainText().contains(u"limite"));
}

TEST_F(HelpTest, F1DoesNothingUntilTheCourseIsOpenedThenOpensIt)
{
    owner.show();
    access();
    pressF1(&owner);
    EXPECT_EQ(access().viewer(QString::fromLatin1(kCourseFileName)), nullptr);
    HelpViewer *v = access().showCourse();
    ASSERT_NE(v, nullptr);
    v->close(); // deleted on close
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(access().viewer(QString::fromLatin1(kCourseFileName)), nullptr);
    pressF1(&owner);
    ASSERT_NE(access().viewer(QString::fromLatin1(kCourseFileName)), nullptr);
    EXPECT_TRUE(access().viewer(QString::fromLatin1(kCourseFileName))->isVisible());
}

TEST_F(HelpTest, HeldF1DoesNotBringBackTheCourseOnceClosed)
{
    owner.show();
    access().showCourse()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&owner, &repeat);
    EXPECT_EQ(access().viewer(QString::fromLatin1(kCourseFileName)), nullptr);
}

TEST_F(HelpTest, F1InsideAModalDialogGivesAViewerThatDialogDoesNotBlock)
{
    access().showCourse()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    HelpViewer *seen = nullptr;
    QWidget *modal = nullptr;
    DialogWatch watch;
    watch.answer("", [&](QWidget *d) {
        modal = d;
        pressF1(d);
        seen = access().viewer(QString::fromLatin1(kCourseFileName));
        DialogWatch::close(d);
    });
    QDialog dialog(&owner);
    dialog.exec();
    ASSERT_NE(seen, nullptr);
    // While the dialog was up the viewer belonged to it; now it is back on its own.
    EXPECT_NE(seen->parentWidget(), modal);
    EXPECT_TRUE(seen->isWindow());
}

TEST_F(HelpTest, NotationsWindow)
{
    NotationsDialog d;
    EXPECT_EQ(d.objectName(), u"Notations");
    EXPECT_EQ(d.windowTitle(), u"Notations du vorlac");
    EXPECT_EQ(d.size(), QSize(294, 200));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    const Qt::WindowFlags f = d.windowFlags();
    EXPECT_FALSE(f & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f & Qt::WindowCloseButtonHint);
    EXPECT_EQ(d.palette().color(QPalette::Window), QColor(Qt::white));
    auto *image = d.findChild<QLabel *>(QStringLiteral("Image1"));
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->pixmap().isNull());

    DialogWatch watch;
    watch.answer("Notations", DialogWatch::close);
    access().showNotations();
}

TEST_F(HelpTest, MissingOrForeignFilesGiveAFrenchMessage)
{
    const struct {
        const char *content; // nullptr: no file at all
        const char *says;
    } rows[] = {{nullptr, "est introuvable dans le dossier du programme"},
                {"?_\x03\x00 ancienne aide Windows", "n'est pas un fichier d'aide au format HTML compilé"},
                {"ITSF\x03\x00\x00\x00", "est endommagé"}};
    for (const auto &r : rows) {
        messages.clear();
        QFile::remove(dir.filePath(QString::fromLatin1(kHelpFileName)));
        if (r.content)
            writeAll(dir.filePath(QString::fromLatin1(kHelpFileName)), r.content);
        EXPECT_EQ(access().showHelp(), nullptr);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(u"« KT4.hlp »")) << qPrintable(messages[0]);
        EXPECT_TRUE(messages[0].contains(QString::fromUtf8(r.says))) << qPrintable(messages[0]);
    }
}
