#include "situations/situationnames.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

using namespace vorlac;

namespace
{

struct NameRow {
    const char *typed;
    const char *expected; // nullptr: refused as an empty name
};

std::ostream &operator<<(std::ostream &os, const NameRow &r)
{
    return os << '"' << r.typed << '"';
}

class SaveName : public ::testing::TestWithParam<NameRow>
{
};

TEST_P(SaveName, BuiltFromTheTypedText)
{
    const std::optional<QString> name = buildSaveName(QString::fromUtf8(GetParam().typed), QStringLiteral("/F"));
    if (!GetParam().expected)
        EXPECT_FALSE(name.has_value()) << name.value_or(QString()).toStdString();
    else
        EXPECT_EQ(name.value_or(QStringLiteral("<refused>")), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, SaveName,
                         ::testing::Values(NameRow{"essai", "/F/essai.P01"}, NameRow{"a.b.c", "/F/a.P01"},
                                           NameRow{"essai.txt", "/F/essai.P01"}, NameRow{"essai.P01", "/F/essai.P01"},
                                           NameRow{"  essai  ", "/F/essai.P01"}, NameRow{"essai .P01", "/F/essai.P01"},
                                           NameRow{"/tmp/x/essai", "/tmp/x/essai.P01"},
                                           NameRow{"/tmp/x.y/essai", "/tmp/x.y/essai.P01"},
                                           NameRow{"sub/essai", "/F/sub/essai.P01"}, NameRow{"élève", "/F/élève.P01"},
                                           NameRow{".P01", nullptr}, NameRow{"", nullptr}, NameRow{"   ", nullptr},
                                           NameRow{"dir/", nullptr}, NameRow{"dir/ .x", nullptr},
                                           NameRow{"/tmp/.cache", nullptr}));

TEST(SituationNames, FolderJoinAndFileNamePart)
{
    EXPECT_EQ(joinFolder(QStringLiteral("/"), QStringLiteral("a.P01")), "/a.P01");
    EXPECT_EQ(joinFolder(QStringLiteral("/home/x"), QStringLiteral("a.P01")), "/home/x/a.P01");
    EXPECT_EQ(fileNamePart(QStringLiteral("/x/y.P01")), "y.P01");
    EXPECT_EQ(fileNamePart(QStringLiteral("y.P01")), "y.P01");
}

TEST(SituationNames, ListsSituationFilesAnyCaseAndNoDotFolders)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char *f : {"b.P01", "A.p01", "c.txt", "d.P01.bak", ".hidden.P01"})
        writeAll(dir.filePath(QString::fromLatin1(f)), {});
    QDir(dir.path()).mkdir(QStringLiteral("zeta"));
    QDir(dir.path()).mkdir(QStringLiteral(".git"));
    QDir(dir.path()).mkdir(QStringLiteral("Alpha"));
    QDir(dir.path()).mkdir(QStringLiteral("dossier.P01"));
    EXPECT_EQ(situationFilesIn(dir.path()), (QStringList{QStringLiteral("A.p01"), QStringLiteral("b.P01")}));
    EXPECT_EQ(subfoldersOf(dir.path()),
              (QStringList{QStringLiteral("Alpha"), QStringLiteral("dossier.P01"), QStringLiteral("zeta")}));
    // a folder that went away: its nearest existing ancestor
    EXPECT_EQ(usableFolder(dir.filePath(QStringLiteral("gone/deeper"))), dir.path());
    const QStringList roots = volumeRoots();
    ASSERT_FALSE(roots.isEmpty());
    EXPECT_EQ(roots.first(), "/");
    EXPECT_EQ(volumeRootOf(dir.path()).isEmpty(), false);
}

} // namespace
