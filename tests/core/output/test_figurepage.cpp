#include "output/figurepage.h"
#include "pdfprobe.h"
#include "rowname.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

using namespace vorlac;

namespace
{

ReportTexts crownAt589()
{
    return {SourceType::Monochromatic, "589", "45", "Verre Crown", "n = 1,516961", "Air", "n = 1,000276", {}};
}

QImage testFigure()
{
    QImage img(616, 390, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb((x * 7) & 255, (y * 13) & 255, (x ^ y) & 255)); // defeats any lossy coding
    return img;
}

struct PdfPage {
    QString file;
    double offsetX, offsetY; // the printable area's corner on the page, in points
};

// Prints `copies` figure pages into a PDF at 1200 dpi.
PdfPage printFigure(const QTemporaryDir &dir, const FigurePageOptions &o, int copies,
                    FigurePageLayout *layout = nullptr)
{
    PdfPage out{dir.filePath("figure.pdf"), 0, 0};
    QPdfWriter writer(out.file);
    writer.setResolution(1200);
    const QPointF corner = writer.pageLayout().paintRect(QPageLayout::Point).topLeft();
    out.offsetX = corner.x();
    out.offsetY = corner.y();
    QPainter p(&writer);
    const PageMetrics page = PageMetrics::of(writer);
    const auto report = o.printReport ? parameterReport(crownAt589()) : std::vector<ReportLine>{};
    EXPECT_TRUE(paintFigureCopies(p, page, testFigure(), o, report, copies, [&] { return writer.newPage(); }));
    if (layout)
        *layout = layoutFigurePage(page, QSize(616, 390), o, QFontMetricsF(reportFont(false), &writer).height(),
                                   report.size());
    return out;
}

} // namespace

TEST(FigureReport, SourceTextFollowsTheSource)
{
    EXPECT_EQ(reportSourceText(SourceType::Monochromatic, "589"),
              "monochromatique (longueur d'onde dans le vide 589 nm).");
    EXPECT_EQ(reportSourceText(SourceType::WhiteLight, "589"), "polychromatique blanche (de 400 à 800 nm).");
    EXPECT_EQ(reportSourceText(SourceType::FiveRadiations, "589"), "5 radiations (400, 500, 600, 700 et 800 nm).");
}

struct LayoutRow {
    const char *name;
    double dpi; // of an 8 x 11 1/3 inch printable area
    bool centreH, centreV, miniature;
    QRectF expected;
};

void PrintTo(const LayoutRow &r, std::ostream *os)
{
    *os << r.name;
}
class FigureLayout : public ::testing::TestWithParam<LayoutRow>
{
};

// A 96 dpi screen: 12.5 device pixels a pixel at 1200 dpi.
TEST_P(FigureLayout, PictureIsPlacedByTheOptions)
{
    const LayoutRow &r = GetParam();
    FigurePageOptions o;
    o.centreHorizontally = r.centreH;
    o.centreVertically = r.centreV;
    o.miniature = r.miniature;
    const PageMetrics page{8 * r.dpi, r.dpi * 34 / 3, r.dpi, r.dpi};
    const FigurePageLayout l = layoutFigurePage(page, QSize(616, 390), o, 100, 10);
    EXPECT_NEAR(l.picture.x(), r.expected.x(), 1e-6);
    EXPECT_NEAR(l.picture.y(), r.expected.y(), 1e-6);
    EXPECT_NEAR(l.picture.width(), r.expected.width(), 1e-6);
    EXPECT_NEAR(l.picture.height(), r.expected.height(), 1e-6);
    EXPECT_NEAR(l.reportTop, r.expected.bottom() + page.height / 20, 1e-6);
    if (r.miniature) { // 616 pixels at 300 to the inch, whatever the printer
        EXPECT_NEAR(l.picture.width() / r.dpi * 25.4, 52.15, 0.01);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FigureLayout,
    ::testing::Values(LayoutRow{"centred", 1200, true, false, false, {950, 680, 7700, 4875}},
                      LayoutRow{"atTenthAndTwentieth", 1200, false, false, false, {960, 680, 7700, 4875}},
                      LayoutRow{"centredBothWays", 1200, true, true, false, {950, 4362.5, 7700, 4875}},
                      LayoutRow{"miniatureCentred", 1200, true, true, true, {3568, 6020, 2464, 1560}},
                      LayoutRow{"miniatureAtTenth", 1200, false, false, true, {960, 680, 2464, 1560}},
                      LayoutRow{"miniatureAt600Dpi", 600, true, true, true, {1784, 3010, 1232, 780}},
                      LayoutRow{"miniatureAt300Dpi", 300, false, false, true, {240, 170, 616, 390}}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(FigurePdf, ThreeCopiesAreThreePagesEachWithTheReportWhereItWasLaidOut)
{
    QTemporaryDir dir;
    FigurePageLayout layout;
    const PdfPage pdf = printFigure(dir, {}, 3, &layout);
    ASSERT_EQ(pdfprobe::pageCount(pdf.file), 3);
    const auto words = pdfprobe::words(pdf.file);
    const QStringList expected = {
        "Source lumineuse: monochromatique (longueur d'onde dans le vide 589 nm).",
        "Le vorlac:",
        "- angle au sommet: A = 45 degrés",
        "- matériau: Verre Crown",
        "- indice pour une longueur d'onde de 589 nm: n = 1,516961",
        "Milieu extérieur:",
        "- matériau: Air",
        "- indice pour une longueur d'onde de 589 nm: n = 1,000276",
    };
    const int lineOfText[] = {0, 2, 3, 4, 5, 7, 8, 9}; // report lines 2 and 7 are empty
    const double devicePixel = 72.0 / 1200;
    for (int page = 1; page <= 3; ++page) {
        EXPECT_EQ(pdfprobe::lines(words, page), expected) << "page " << page;
        for (int i = 0; i < 8; ++i) {
            QPointF origin = layout.lineOrigins[lineOfText[i]] * (72.0 / 1200);
            if (expected[i].startsWith('-'))
                origin.setX(origin.x() * 2); // indented lines start at twice the margin
            const QString first = expected[i].section(' ', 0, 0);
            auto w = std::find_if(words.begin(), words.end(), [&](const pdfprobe::Word &x) {
                return x.page == page && x.text == first && std::abs(x.yMin - pdf.offsetY - origin.y()) < 1;
            });
            ASSERT_NE(w, words.end()) << expected[i].toStdString();
            EXPECT_NEAR(w->xMin, pdf.offsetX + origin.x(), devicePixel) << expected[i].toStdString();
            EXPECT_NEAR(w->yMin, pdf.offsetY + origin.y(), devicePixel) << expected[i].toStdString();
        }
    }
}

TEST(FigurePdf, PictureIsEmbeddedLosslessAndPixelEqual)
{
    QTemporaryDir dir;
    const PdfPage pdf = printFigure(dir, {}, 1);
    EXPECT_EQ(pdfprobe::imageEncodings(pdf.file), QStringList{"image"});
    const auto images = pdfprobe::images(pdf.file);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0], testFigure());
}

TEST(FigurePdf, WithoutTheReportThePageHasNoText)
{
    QTemporaryDir dir;
    FigurePageOptions o;
    o.printReport = false;
    const PdfPage pdf = printFigure(dir, o, 2);
    EXPECT_EQ(pdfprobe::pageCount(pdf.file), 2);
    EXPECT_TRUE(pdfprobe::words(pdf.file).empty());
}

TEST(FigurePdf, RefusedPageStopsTheCopies)
{
    QImage page(1000, 1000, QImage::Format_RGB32);
    QPainter p(&page);
    int asked = 0;
    EXPECT_FALSE(paintFigureCopies(p, PageMetrics::of(page), testFigure(), {}, {}, 5, [&] { return ++asked < 2; }));
    EXPECT_EQ(asked, 2);
}
