#include "output/tablepages.h"
#include "output/tablepicture.h"
#include "pdfprobe.h"
#include "table/valuetable.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

using namespace vorlac;

namespace
{

void fill(ValueTable &t, int rows)
{
    t.setLocale(QLocale(QLocale::French, QLocale::France));
    t.setRows(rows);
    for (int r = 1; r < rows; ++r)
        t.setCellValue(r, 0, static_cast<float>(r) * 1.5f);
}

QString printTable(const QTemporaryDir &dir, const ValueTable &t, int copies, TablePrintLayout *layout = nullptr)
{
    const QString file = dir.filePath("table.pdf");
    QPdfWriter writer(file);
    writer.setResolution(1200);
    QPainter p(&writer);
    if (layout)
        EXPECT_TRUE(paintTablePages(
            p, PageMetrics::of(writer), t, {}, [&] { return writer.newPage(); }, layout));
    else
        EXPECT_TRUE(paintTableCopies(p, PageMetrics::of(writer), t, {}, copies, [&] { return writer.newPage(); }));
    return file;
}

} // namespace

TEST(TablePages, TitlesNumberTheFollowingPages)
{
    EXPECT_EQ(tablePageTitle(1), "Vorlac");
    EXPECT_EQ(tablePageTitle(2), "Vorlac ( 2 )");
    EXPECT_EQ(tablePageTitle(12), "Vorlac ( 12 )");
}

TEST(TablePages, TextIsCutFromTheRightUntilItFits)
{
    auto fitsIn = [](int n) { return [n](const QString &t) { return t.size() <= n; }; };
    EXPECT_EQ(fitCellText("123,456", fitsIn(4)), "123,");
    EXPECT_EQ(fitCellText("12", fitsIn(4)), "12");
    EXPECT_EQ(fitCellText("abc", fitsIn(0)), "");
}

TEST(TablePages, HundredLinesMakeTwoPagesWithTheirHeaders)
{
    ValueTable t;
    fill(t, 101);
    QTemporaryDir dir;
    TablePrintLayout layout;
    const QString pdf = printTable(dir, t, 1, &layout);
    EXPECT_EQ(layout.pages, 2);
    ASSERT_EQ(pdfprobe::pageCount(pdf), 2);
    const auto words = pdfprobe::words(pdf);
    const QStringList page1 = pdfprobe::lines(words, 1), page2 = pdfprobe::lines(words, 2);
    ASSERT_FALSE(page1.isEmpty());
    ASSERT_FALSE(page2.isEmpty());
    EXPECT_EQ(page1.first(), "Vorlac");
    EXPECT_EQ(page1[1], "C1 C2 C3 C4 C5 C6 C7");
    EXPECT_EQ(page2.first(), "Vorlac ( 2 )");
    // Every line printed once, in order, across the two pages.
    QStringList values = page1.mid(2) + page2.mid(1);
    ASSERT_EQ(values.size(), 100);
    EXPECT_EQ(values.first(), "1,500");
    EXPECT_EQ(values.last(), "150,000");
    // No row starts below nine tenths of the page (plus the one that crossed it).
    for (std::size_t i = 0; i + 1 < layout.rowTops.size(); ++i)
        if (layout.rowTops[i + 1] > layout.rowTops[i]) {
            EXPECT_LE(layout.rowTops[i], 0.9 * 13699);
        }
}

TEST(TablePages, NumbersEndTwoPixelsBeforeTheRightEdgeAndTitlesAreCentred)
{
    ValueTable t;
    fill(t, 2);
    QTemporaryDir dir;
    TablePrintLayout layout;
    const QString pdf = printTable(dir, t, 1, &layout);
    QPdfWriter probe(dir.filePath("probe.pdf"));
    probe.setResolution(1200);
    const double corner = probe.pageLayout().paintRect(QPageLayout::Point).left();
    const double pt = 72.0 / 1200;
    for (const auto &w : pdfprobe::words(pdf)) {
        if (w.text == "1,500") {
            EXPECT_NEAR(w.xMax, corner + (layout.left + layout.columnWidth - 2) * pt, 2 * pt);
        }
        if (w.text == "C4") {
            const double mid = corner + (layout.left + 3.5 * layout.columnWidth) * pt;
            EXPECT_NEAR((w.xMin + w.xMax) / 2, mid, 2 * pt);
        }
    }
}

TEST(TablePages, EachCopyStartsOnItsOwnPageNumberedFromOne)
{
    ValueTable t;
    fill(t, 101);
    t.setTitle(1, "Température mesurée en degrés");
    QTemporaryDir dir;
    const QString pdf = printTable(dir, t, 2);
    ASSERT_EQ(pdfprobe::pageCount(pdf), 4);
    const auto words = pdfprobe::words(pdf);
    EXPECT_EQ(pdfprobe::lines(words, 3).value(0), "Vorlac");
    EXPECT_EQ(pdfprobe::lines(words, 4).value(0), "Vorlac ( 2 )");
    // A title wider than its cell is cut at its right end.
    const QString titles = pdfprobe::lines(words, 1).value(1);
    EXPECT_TRUE(titles.startsWith("C1 Temp")) << titles.toStdString();
    EXPECT_FALSE(titles.contains("degrés")) << titles.toStdString();
}

TEST(TablePages, RefusedPageIsAFailure)
{
    ValueTable t;
    fill(t, 101);
    QImage page(9583, 13699, QImage::Format_Mono);
    QPainter p(&page);
    EXPECT_FALSE(paintTablePages(p, {9583, 13699, 1200, 1200}, t, {}, [] { return false; }));
}

TEST(TableText, TabsBetweenCellsLineFeedsBetweenRowsTitleRowFirst)
{
    ValueTable t;
    t.setLocale(QLocale(QLocale::French, QLocale::France));
    t.setRows(2);
    t.setCellValue(1, 0, 1.0f);
    t.setCellValue(1, 1, 2.0f);
    EXPECT_EQ(tableText(t), "C1\tC2\tC3\tC4\tC5\tC6\tC7\n1,000\t2,000\t\t\t\t\t");
    t.setRows(101);
    const QString all = tableText(t);
    EXPECT_EQ(all.count('\n'), 100);
    EXPECT_EQ(all.count('\t'), 101 * 6);
    EXPECT_FALSE(all.contains('\r'));
    EXPECT_TRUE(all.endsWith("\t\t\t\t\t\t"));
}

TEST(TablePicture, WholeTableWithShadedTitleRowAndTexts)
{
    ValueTable t;
    fill(t, 101);
    const QImage img = tablePicture(t);
    EXPECT_EQ(img.size(), QSize(7 * 55 + 1, 101 * 16 + 1));
    EXPECT_EQ(img.pixel(30, 1), qRgb(192, 192, 192));  // title row
    EXPECT_EQ(img.pixel(55, 40), qRgb(128, 128, 128)); // a grid line
    auto inkIn = [&](QRect r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += qGray(img.pixel(x, y)) < 100;
        return n;
    };
    const QRect lastLineC1(1, 100 * 16 + 1, 53, 14), lastLineC2(56, 100 * 16 + 1, 53, 14);
    EXPECT_GT(inkIn(lastLineC1), 0); // the last line is in the picture, not only the visible ones
    EXPECT_EQ(inkIn(lastLineC2), 0);
    EXPECT_GT(inkIn(QRect(28, 17, 26, 14)), 0); // numbers stand at the right of their cell
    EXPECT_EQ(inkIn(QRect(1, 17, 12, 14)), 0);
}
