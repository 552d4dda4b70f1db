#include "situations/situationfile.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace vorlac;

namespace
{

Situation withLines(int lines)
{
    Situation s;
    s.lines = QList<SituationRow>(lines);
    for (int r = 0; r < lines; ++r)
        s.lines[r][0] = QString::number(r);
    return s;
}

class SituationFileIo : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(SituationFileIo, WritesExactly25Plus7RRecordsAndReadsThemBack)
{
    const QString p = path(QStringLiteral("essai.P01"));
    ASSERT_TRUE(writeSituationFile(p, withLines(100)));
    EXPECT_EQ(QFileInfo(p).size(), 732 * 128);
    // a smaller situation replaces the file instead of leaving the old tail
    ASSERT_TRUE(writeSituationFile(p, withLines(1)));
    EXPECT_EQ(QFileInfo(p).size(), 39 * 128);
    const SituationResult r = readSituationFile(p);
    ASSERT_TRUE(r.situation.has_value());
    EXPECT_EQ(*r.situation, withLines(1));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("essai.P01")});
}

TEST_F(SituationFileIo, AFailedSaveLeavesTheOldFileByteForByte)
{
    const QString p = path(QStringLiteral("old.P01"));
    ASSERT_TRUE(writeSituationFile(p, withLines(40)));
    const QByteArray before = readAll(p);
    Situation tooLong = withLines(2);
    tooLong.lines[1][5] = QString(127, QLatin1Char('9'));
    EXPECT_FALSE(writeSituationFile(p, tooLong));
    EXPECT_EQ(readAll(p), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(SituationFileIo, UnwritablePlacesFail)
{
    writeAll(path(QStringLiteral("plain")), "x");
    for (const QString &p :
         {path(QStringLiteral("plain/essai.P01")), path(QStringLiteral("missing/essai.P01")), dir.path(), QString()})
        EXPECT_FALSE(writeSituationFile(p, Situation())) << p.toStdString();
}

TEST_F(SituationFileIo, WhatIsNotARegularFileIsRefusedWithoutBlocking)
{
    EXPECT_EQ(readSituationFile(path(QStringLiteral("none.P01"))).failure, SituationFailure::NotOurs);
    EXPECT_EQ(readSituationFile(QString()).failure, SituationFailure::NotOurs);
    EXPECT_EQ(readSituationFile(dir.path()).failure, SituationFailure::Unreadable);
    const QString fifo = path(QStringLiteral("fifo.P01"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    EXPECT_EQ(readSituationFile(fifo).failure, SituationFailure::Unreadable);
    EXPECT_EQ(readSituationFile(QStringLiteral("/dev/zero")).failure, SituationFailure::Unreadable);
}

TEST_F(SituationFileIo, AHugeFileIsReadOnlyAsFarAsTheLargestSituation)
{
    const QString p = path(QStringLiteral("big.P01"));
    ASSERT_TRUE(writeSituationFile(p, withLines(3)));
    {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::Append));
        ASSERT_TRUE(f.resize(64 * 1024 * 1024)); // sparse
    }
    const SituationResult r = readSituationFile(p);
    ASSERT_TRUE(r.situation.has_value());
    EXPECT_EQ(*r.situation, withLines(3));
}

TEST_F(SituationFileIo, CellsKeepTheirRegionalTextExactly)
{
    Situation s = withLines(2);
    s.lines[0] = {
        QStringLiteral("1,500"), QStringLiteral("-2,250"), QStringLiteral("1.5"), QStringLiteral("3E5"), QString(),
        QStringLiteral("é à ç"), QStringLiteral("  ")};
    const QString p = path(QStringLiteral("regional.P01"));
    ASSERT_TRUE(writeSituationFile(p, s));
    const SituationResult r = readSituationFile(p);
    ASSERT_TRUE(r.situation.has_value());
    EXPECT_EQ(r.situation->lines[0], s.lines[0]);
}

} // namespace
