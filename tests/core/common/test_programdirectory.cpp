#include "common/programdirectory.h"
#include "common/recordfile.h"
#include "rowname.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

// A folder layout and where the program directory must be found in it. Paths are relative to
// a temporary root; "exe" is the executable's folder.
struct LayoutRow {
    const char *name;
    QStringList files; // created empty; a name ending in "/" is a folder
    QString exe;
    QString expected;
};

void PrintTo(const LayoutRow &r, std::ostream *os)
{
    *os << r.name;
}

class ProgramDirectoryRule : public ::testing::TestWithParam<LayoutRow>
{
};

TEST_P(ProgramDirectoryRule, FindsTheFolderThatHoldsTheData)
{
    const LayoutRow &row = GetParam();
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    for (const QString &f : row.files) {
        const QString path = root.filePath(f);
        if (f.endsWith('/'))
            ASSERT_TRUE(QDir().mkpath(path));
        else {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
            writeAll(path, "x");
        }
    }
    EXPECT_EQ(vorlac::findProgramDirectory(root.filePath(row.exe)), root.filePath(row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProgramDirectoryRule,
    ::testing::Values(
        LayoutRow{"build folder", {"build/vorlac", "build/KT4.hlp", "build/VORLAC.PEM"}, "build", "build/"},
        LayoutRow{"portable copy with the course only", {"usb/vorlac", "usb/Dadevedozoz.chm"}, "usb", "usb/"},
        LayoutRow{"installed", {"usr/bin/vorlac", "usr/share/vorlac/KT4.hlp"}, "usr/bin", "usr/share/vorlac/"},
        LayoutRow{"own help wins over an installed copy",
                  {"usr/bin/KT4.hlp", "usr/share/vorlac/KT4.hlp"},
                  "usr/bin",
                  "usr/bin/"},
        LayoutRow{
            "installed data without help", {"usr/bin/vorlac", "usr/share/vorlac/"}, "usr/bin", "usr/share/vorlac/"},
        LayoutRow{"a folder named like the help does not count",
                  {"opt/bin/KT4.hlp/", "opt/share/vorlac/VORLAC.PEM"},
                  "opt/bin",
                  "opt/share/vorlac/"},
        LayoutRow{"missing data", {"lost/bin/vorlac"}, "lost/bin", "lost/bin/"}),
    RowName());

// The marker goes to the first place that takes it; a failure is only an empty answer.
struct MarkerRow {
    const char *name;
    bool programWritable;
    bool stateWritable;
    const char *expected; // "program", "state" or ""
};

void PrintTo(const MarkerRow &r, std::ostream *os)
{
    *os << r.name;
}

class MarkerPlace : public ::testing::TestWithParam<MarkerRow>
{
};

TEST_P(MarkerPlace, WritesTheRecordWhereItCan)
{
    const MarkerRow &row = GetParam();
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    // A folder under a plain file cannot be written, even by root.
    writeAll(root.filePath("plain"), "x");
    const QString program = row.programWritable ? root.filePath("prog/") : root.filePath("plain/prog/");
    const QString state = row.stateWritable ? root.filePath("state/deep/vorlac/") : root.filePath("plain/state/");
    ASSERT_TRUE(QDir().mkpath(root.filePath("prog")));

    const QString written = vorlac::writeMarkerRecord({program, state}, "TEMPO.SPC", 3, "OUI");
    const QString expected = QString(row.expected) == "program" ? program
                             : QString(row.expected) == "state" ? state
                                                                : QString();
    EXPECT_EQ(written, expected);
    if (!expected.isEmpty()) {
        EXPECT_EQ(readAll(expected + "TEMPO.SPC").mid(256, 5), QByteArray("\x03\x00OUI", 5));
    }
    if (expected != state) {
        EXPECT_FALSE(QFileInfo::exists(state + "TEMPO.SPC"));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, MarkerPlace,
                         ::testing::Values(MarkerRow{"writable program folder", true, true, "program"},
                                           MarkerRow{"read only program folder", false, true, "state"},
                                           MarkerRow{"nowhere to write", false, false, ""}),
                         RowName());

// Which folders may take the marker: an installed data folder never does.
struct MarkerFoldersRow {
    const char *name;
    QString program;
    QString exe;
    QStringList expected; // "P": the program directory, "S": the state folder
};

void PrintTo(const MarkerFoldersRow &r, std::ostream *os)
{
    *os << r.name;
}

class MarkerFolders : public ::testing::TestWithParam<MarkerFoldersRow>
{
};

TEST_P(MarkerFolders, NeverTheInstalledDataFolder)
{
    const MarkerFoldersRow &row = GetParam();
    const QString state = "/home/eleve/.local/state/vorlac/";
    QStringList expected;
    for (const QString &e : row.expected)
        expected << (e == "P" ? row.program : state);
    EXPECT_EQ(vorlac::markerFolders(row.program, row.exe, state), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MarkerFolders,
    ::testing::Values(MarkerFoldersRow{"build folder", "/src/vorlac/build/", "/src/vorlac/build", {"P", "S"}},
                      MarkerFoldersRow{"installed", "/usr/share/vorlac/", "/usr/bin", {"S"}},
                      MarkerFoldersRow{"moved prefix", "/opt/v/share/vorlac", "/opt/v/bin/", {"S"}},
                      MarkerFoldersRow{"missing data", "/tmp/v/bin/", "/tmp/v/bin", {"P", "S"}}),
    RowName());

struct StateRow {
    const char *name;
    const char *xdgStateHome; // nullptr: unset
    const char *expected;     // "~" stands for the home folder
};

void PrintTo(const StateRow &r, std::ostream *os)
{
    *os << r.name;
}

class StateFolder : public ::testing::TestWithParam<StateRow>
{
  protected:
    void SetUp() override
    {
        m_saved = qgetenv("XDG_STATE_HOME");
        m_had = qEnvironmentVariableIsSet("XDG_STATE_HOME");
    }
    void TearDown() override
    {
        if (m_had)
            qputenv("XDG_STATE_HOME", m_saved);
        else
            qunsetenv("XDG_STATE_HOME");
    }

  private:
    QByteArray m_saved;
    bool m_had = false;
};

TEST_P(StateFolder, FollowsTheXdgRule)
{
    const StateRow &row = GetParam();
    if (row.xdgStateHome)
        qputenv("XDG_STATE_HOME", row.xdgStateHome);
    else
        qunsetenv("XDG_STATE_HOME");
    QString expected = QString::fromUtf8(row.expected);
    expected.replace("~", QDir::homePath());
    EXPECT_EQ(vorlac::userStateFolder(), expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, StateFolder,
                         ::testing::Values(StateRow{"unset", nullptr, "~/.local/state/vorlac/"},
                                           StateRow{"absolute", "/var/tmp/st//", "/var/tmp/st/vorlac/"},
                                           StateRow{"relative is ignored", "st", "~/.local/state/vorlac/"},
                                           StateRow{"empty", "", "~/.local/state/vorlac/"}),
                         RowName());

} // namespace
