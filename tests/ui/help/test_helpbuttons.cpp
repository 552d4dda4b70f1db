// The toolbar's help buttons and F1 on the main window itself.
#include "help/helpaccess.h"
#include "vorlacfixture.h"
#include "window/toolbar.h"

#include <QFile>
#include <QTest>
#include <QToolButton>

#include <filesystem>

using namespace vorlac;

TEST_F(VorlacFixture, HelpButtonsAndF1)
{
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    const QString data = QString::fromStdString(exe.parent_path().parent_path().string()) + u'/';
    for (const char *name : {kHelpFileName, kCourseFileName})
        ASSERT_TRUE(QFile::copy(data + QString::fromLatin1(name), dir.filePath(QString::fromLatin1(name))));
    Vorlac &w = window();
    w.show();
    auto *help = w.findChild<HelpAccess *>();
    ASSERT_NE(help, nullptr);
    const QString course = QString::fromLatin1(kCourseFileName);

    QTest::keyClick(&w, Qt::Key_F1);
    EXPECT_EQ(help->viewer(course), nullptr) << "F1 before Voir le cours";
    w.toolbar().courseButton()->click();
    ASSERT_NE(help->viewer(course), nullptr);
    help->viewer(course)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::keyClick(&w, Qt::Key_F1);
    EXPECT_NE(help->viewer(course), nullptr) << "F1 after Voir le cours";

    w.toolbar().helpButton()->click();
    EXPECT_NE(help->viewer(QString::fromLatin1(kHelpFileName)), nullptr);

    dialogs.answer("Notations du vorlac", DialogWatch::close);
    w.toolbar().notationsButton()->click();
    EXPECT_TRUE(messages.empty());
}
