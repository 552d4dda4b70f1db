#include "output/exportcommands.h"
#include "table/valuetable.h"

#include "rowname.h"
#include "testfiles.h"

#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>

using namespace vorlac;

namespace
{

// An export with the save dialog and the message boxes answered by the test.
struct ExportProbe {
    QTemporaryDir dir;
    std::deque<QString> files; // what the save dialog answers, in turn
    QString filter;            // the filter it reports as chosen
    std::deque<QMessageBox::StandardButton> answers;
    QStringList titles, messages;
    QStringList shownFilters;
    ExportCommands commands;

    ExportProbe() : commands(messenger(), environment()) {}

    Messenger messenger()
    {
        Messenger m;
        m.show = [this](QWidget *, QMessageBox::Icon, const QString &title, const QString &text,
                        QMessageBox::StandardButtons) {
            messages << title + ": " + text;
            if (answers.empty())
                return QMessageBox::No;
            const auto a = answers.front();
            answers.pop_front();
            return a;
        };
        return m;
    }
    ExportEnvironment environment()
    {
        ExportEnvironment env;
        env.saveFileName = [this](QWidget *, const QString &title, const QString &, const QStringList &filters,
                                  QString *selected) {
            titles << title;
            shownFilters = filters;
            *selected = filter.isEmpty() ? filters.value(0) : filter;
            if (files.empty())
                return QString();
            const QString f = files.front();
            files.pop_front();
            return f;
        };
        return env;
    }
};

QImage samplePicture()
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setPen(Qt::yellow);
    p.drawLine(2, 2, 37, 27);
    return image;
}

void vectorSample(QPainter &p)
{
    p.fillRect(0, 0, 40, 30, Qt::black);
    p.setPen(Qt::yellow);
    p.drawLine(QPointF(2.5, 2.5), QPointF(37.5, 27.5));
}

} // namespace

struct FormatRow {
    const char *name;
    PictureFormat filter;
    const char *file;
    const char *written; // the file actually written
    const char *magic;   // its first bytes
    QSize pngSize;       // for PNG
};
void PrintTo(const FormatRow &r, std::ostream *os)
{
    *os << r.name;
}
class PictureExport : public ::testing::TestWithParam<FormatRow>
{
};
TEST_P(PictureExport, WritesTheChosenFormat)
{
    const FormatRow &row = GetParam();
    ExportProbe probe;
    probe.filter = pictureFilter(row.filter);
    probe.files.push_back(probe.dir.filePath(QString::fromLatin1(row.file)));
    EXPECT_EQ(probe.commands.exportPicture(nullptr, QStringLiteral("Exporter le graphe"), QStringLiteral("graphe"),
                                           samplePicture(), vectorSample),
              ExportCommands::Outcome::Saved);
    EXPECT_EQ(probe.shownFilters, pictureFilters());
    const QByteArray bytes = readAll(probe.dir.filePath(QString::fromLatin1(row.written)));
    EXPECT_TRUE(bytes.startsWith(row.magic)) << bytes.left(16).toStdString();
    if (row.pngSize.isValid()) {
        QImage read;
        ASSERT_TRUE(read.loadFromData(bytes, "PNG"));
        EXPECT_EQ(read.size(), row.pngSize);
    }
    EXPECT_TRUE(probe.messages.isEmpty()) << probe.messages.join(u'\n').toStdString();
}
INSTANTIATE_TEST_SUITE_P(
    Rows, PictureExport,
    ::testing::Values(FormatRow{"pngDoubleForProjection", PictureFormat::PngDouble, "b", "b.png", "\x89PNG",
                                QSize(80, 60)},
                      FormatRow{"svgSuffixAdded", PictureFormat::Svg, "c", "c.svg", "<?xml", QSize()},
                      // a suffix typed by the pupil wins over the filter left selected
                      FormatRow{"typedSvgSuffixWins", PictureFormat::Png, "e.svg", "e.svg", "<?xml", QSize()}),
    RowName());

TEST(ExportOverwrite, NoAsksAgainAndYesReplaces)
{
    ExportProbe probe;
    const QString file = probe.dir.filePath("tableau.csv");
    writeAll(file, "old");
    probe.files = {file, file};
    probe.answers = {QMessageBox::No, QMessageBox::Yes};
    ValueTable table;
    EXPECT_EQ(probe.commands.exportTable(nullptr, table), ExportCommands::Outcome::Saved);
    EXPECT_EQ(probe.titles.size(), 2);
    EXPECT_EQ(probe.shownFilters, QStringList{QStringLiteral("Tableau CSV pour tableur (*.csv)")});
    ASSERT_EQ(probe.messages.size(), 2);
    EXPECT_TRUE(probe.messages[0].endsWith(QStringLiteral("existe déjà.\nVoulez-vous le remplacer ?")));
    EXPECT_TRUE(readAll(file).startsWith("\xEF\xBB\xBF"
                                         "C1;"));
}

TEST(ExportFailure, SaysSoInFrenchAndLeavesNoFile)
{
    ExportProbe probe;
    const QString file = probe.dir.filePath("absent/folder/schema.png");
    probe.files.push_back(file);
    EXPECT_EQ(probe.commands.exportPicture(nullptr, QStringLiteral("Exporter le schéma de l'expérience"),
                                           QStringLiteral("schema"), samplePicture(), vectorSample),
              ExportCommands::Outcome::Failed);
    ASSERT_EQ(probe.messages.size(), 1);
    EXPECT_TRUE(probe.messages[0].startsWith(
        QStringLiteral("Exporter le schéma de l'expérience: Le fichier %1 n'a pas pu être enregistré.")
            .arg(QDir::toNativeSeparators(file))));
    EXPECT_FALSE(QFileInfo::exists(file));
}
