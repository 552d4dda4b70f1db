#include "vorlacfixture.h"

#include "rowname.h"
#include "testfiles.h"
#include "window/toolbar.h"

#include <QDir>
#include <QToolButton>

#include <sys/mount.h>

using namespace vorlac;

namespace
{

// A folder that even root cannot write: a tmpfs remounted read-only. Unavailable (the row is
// skipped) where mounting is not allowed.
class ReadOnlyFolder
{
  public:
    ReadOnlyFolder()
    {
        const QByteArray path = QFile::encodeName(m_dir.path());
        m_mounted = m_dir.isValid() && ::mount("tmpfs", path.constData(), "tmpfs", 0, "size=64k,mode=0755") == 0;
        if (m_mounted)
            m_readOnly = ::mount("tmpfs", path.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool available() const { return m_readOnly; }
    QString path() const { return m_dir.path() + "/"; }

  private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    bool m_readOnly = false;
};

enum class Place { Writable, ReadOnlyMount, UnderAPlainFile };

struct FolderRow {
    const char *name;
    Place program;
    bool stateWritable;
    const char *markerIn; // "program", "state" or "" (nowhere)
};

void PrintTo(const FolderRow &r, std::ostream *os)
{
    *os << r.name;
}

class ProgramFolderMarker : public VorlacFixture, public ::testing::WithParamInterface<FolderRow>
{
};

QByteArray record3(const QString &folder)
{
    return readAll(folder + "TEMPO.SPC").mid(256, 5);
}

TEST_P(ProgramFolderMarker, FallsBackToTheStateFolderWithoutAWord)
{
    const FolderRow &row = GetParam();
    ReadOnlyFolder readOnly;
    writeAll(dir.filePath("plain"), "x");
    switch (row.program) {
    case Place::Writable:
        programDir = dir.filePath("prog/");
        ASSERT_TRUE(QDir().mkpath(programDir));
        break;
    case Place::ReadOnlyMount:
        if (!readOnly.available())
            GTEST_SKIP() << "no read-only mount here";
        programDir = readOnly.path();
        break;
    case Place::UnderAPlainFile:
        programDir = dir.filePath("plain/prog/");
        break;
    }
    stateDir = row.stateWritable ? dir.filePath("home/.local/state/vorlac/") : dir.filePath("plain/state/");
    const QString markerFolder = QString(row.markerIn) == "program" ? programDir
                                 : QString(row.markerIn) == "state" ? stateDir
                                                                    : QString();

    Vorlac &w = window();
    EXPECT_EQ(w.programDirectory(), programDir);
    EXPECT_EQ(w.picture().raysTraced, 5); // start-up went to its end
    if (!markerFolder.isEmpty()) {
        EXPECT_EQ(record3(markerFolder), QByteArray("\x03\x00OUI", 5));
    }
    if (markerFolder != stateDir) {
        EXPECT_FALSE(QFileInfo::exists(stateDir + "TEMPO.SPC"));
    }

    answers = {QMessageBox::Ok};
    EXPECT_TRUE(w.close());
    EXPECT_EQ(programEnded, 1);
    ASSERT_EQ(messages.size(), 1u); // the close question only: no word about the marker
    EXPECT_EQ(messages[0].title, "Fermer");
    if (!markerFolder.isEmpty()) {
        EXPECT_EQ(record3(markerFolder), QByteArray("\x03\x00NON", 5));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ProgramFolderMarker,
                         ::testing::Values(FolderRow{"writable program folder", Place::Writable, true, "program"},
                                           FolderRow{"read only mount", Place::ReadOnlyMount, true, "state"},
                                           FolderRow{"unwritable path", Place::UnderAPlainFile, true, "state"},
                                           FolderRow{"nowhere", Place::UnderAPlainFile, false, ""}),
                         RowName());

TEST_F(VorlacFixture, MissingDataStillStartsAndTheHelpSaysWhere)
{
    programDir = dir.filePath("vide/");
    ASSERT_TRUE(QDir().mkpath(programDir));
    Vorlac &w = window();
    EXPECT_TRUE(messages.empty());
    w.toolbar().helpButton()->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(messages[0].text.contains("KT4.hlp")) << messages[0].text.toStdString();
    EXPECT_TRUE(messages[0].text.contains(dir.filePath("vide"))) << messages[0].text.toStdString();
}

} // namespace
