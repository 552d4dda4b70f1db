#include "grapher/graph.h"
#include "grapher/graphpainter.h"
#include "output/exports.h"
#include "output/figurepage.h"
#include "render/scenerenderer.h"
#include "table/valuetable.h"

#include "pdfprobe.h"
#include "rowname.h"
#include "testfiles.h"

#include <QBuffer>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <array>
#include <map>

using namespace vorlac;

namespace
{

const QLocale kFrench(QLocale::French, QLocale::France);

QImage testLamp()
{
    QImage lamp(32, 32, QImage::Format_ARGB32);
    lamp.fill(Qt::transparent);
    QPainter p(&lamp);
    p.fillRect(QRect(8, 8, 16, 16), QColor(255, 200, 0));
    return lamp;
}

QImage renderSvg(const QByteArray &svg, QSize size, QColor background)
{
    QSvgRenderer renderer(svg);
    QImage out(size, QImage::Format_RGB32);
    out.fill(background);
    QPainter p(&out);
    renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    return out;
}

// Share of the pixels differing from the background in `a` that have such a pixel within one
// pixel in `b`.
double coveredShare(const QImage &a, const QImage &b, QRgb background)
{
    int lit = 0, covered = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if ((a.pixel(x, y) & 0xffffff) == (background & 0xffffff))
                continue;
            ++lit;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    const QPoint q(x + dx, y + dy);
                    found = b.rect().contains(q) && (b.pixel(q) & 0xffffff) != (background & 0xffffff);
                }
            covered += found;
        }
    return lit == 0 ? 1.0 : double(covered) / lit;
}

// The PDF page as pixels at 96 dpi, smoothed as a viewer shows it; null without poppler-utils.
QImage renderPdf(const QByteArray &pdf, QSize size, int zoom = 1)
{
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty())
        return {};
    QTemporaryDir dir;
    writeAll(dir.filePath("page.pdf"), pdf);
    pdfprobe::run("pdftoppm", {"-r", QString::number(96 * zoom), "-png", "-singlefile", dir.filePath("page.pdf"),
                               dir.filePath("page")});
    const QImage page = QImage(dir.filePath("page.png")).convertToFormat(QImage::Format_RGB32);
    return page.isNull() ? page : page.copy(QRect(QPoint(0, 0), size));
}

// Share of the lit pixels of `a` in 10 x 10 blocks where `b` shows the same colour: each channel's
// share of the block's ink, which smoothing a line over two pixels keeps, within 0,2.
double colourAgreement(const QImage &a, const QImage &b, QRgb background)
{
    int lit = 0, agreeing = 0;
    for (int by = 0; by < a.height(); by += 10)
        for (int bx = 0; bx < a.width(); bx += 10) {
            std::array<double, 4> sums[2]{}; // three channels and their largest
            int count = 0;
            for (int y = by; y < std::min(by + 10, a.height()); ++y)
                for (int x = bx; x < std::min(bx + 10, a.width()); ++x)
                    for (int k = 0; k < 2; ++k) {
                        const QRgb c = (k == 0 ? a : b).pixel(x, y);
                        const std::array<int, 3> ink{std::abs(qRed(c) - qRed(background)),
                                                     std::abs(qGreen(c) - qGreen(background)),
                                                     std::abs(qBlue(c) - qBlue(background))};
                        for (int ch = 0; ch < 3; ++ch)
                            sums[k][ch] += ink[ch];
                        sums[k][3] += *std::max_element(ink.begin(), ink.end());
                        count += k == 0 && (c & 0xffffff) != (background & 0xffffff);
                    }
            lit += count;
            bool same = sums[0][3] > 0 && sums[1][3] > 0;
            for (int ch = 0; ch < 3 && same; ++ch)
                same = std::abs(sums[0][ch] / sums[0][3] - sums[1][ch] / sums[1][3]) <= 0.2;
            agreeing += same ? count : 0;
        }
    return lit == 0 ? 1.0 : double(agreeing) / lit;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The figure's SVG and PDF, rendered, show what the PNG shows: the same lit pixels, the same
// colours (white inside the prism in white light, each colour of the fan where it is).

struct FigureRow {
    const char *name;
    SourceType source;
    bool black;
    bool normals;
    PictureFormat format;
    int zoom = 1; // the vector file drawn that many times larger, against the PNG as large
};
void PrintTo(const FigureRow &r, std::ostream *os)
{
    *os << r.name << '_' << pictureSuffix(r.format).toStdString();
}
class FigureVector : public ::testing::TestWithParam<FigureRow>
{
};
TEST_P(FigureVector, RendersLikeThePicture)
{
    SceneState state;
    state.source = GetParam().source;
    state.blackBackground = GetParam().black;
    state.showNormals = GetParam().normals;
    state.lamp = 2;
    ScenePicture picture;
    RedrawScene(state, picture);
    SpectrumColours spectrum{};
    FillSpectrumColours(spectrum);
    RedrawWhiteLight(state, spectrum, picture);
    const QImage lamp = testLamp();
    const int zoom = GetParam().zoom;
    const QImage png = figureWithOverlays(picture, lamp)
                           .scaled(picture.image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QByteArray bytes = pictureBytes(GetParam().format, picture.image, QStringLiteral("schéma"), [&](QPainter &p) {
        paintFigureVector(p, traceFigure(state, &spectrum), picture.image, &lamp);
    });
    ASSERT_FALSE(bytes.isEmpty());
    const QRgb background = GetParam().black ? 0xff000000u : 0xffffffffu;
    QImage rendered;
    if (GetParam().format == PictureFormat::Svg) {
        // rays are vector lines, not a picture of them: the lamp is the only picture
        EXPECT_EQ(bytes.count("<image"), 1);
        rendered = renderSvg(bytes, png.size(), QColor::fromRgb(background));
    } else {
        rendered = renderPdf(bytes, png.size(), zoom);
        if (rendered.isNull())
            GTEST_SKIP() << "poppler-utils absent";
    }
    EXPECT_GE(coveredShare(png, rendered, background), 0.97);
    EXPECT_GE(coveredShare(rendered, png, background), 0.97);
    EXPECT_GE(colourAgreement(png, rendered, background), 0.95);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, FigureVector,
    ::testing::Values(FigureRow{"monochromatic", SourceType::Monochromatic, true, false, PictureFormat::Svg},
                      FigureRow{"monochromatic", SourceType::Monochromatic, true, false, PictureFormat::Pdf},
                      FigureRow{"fiveRadiationsNormals", SourceType::FiveRadiations, true, true, PictureFormat::Svg},
                      FigureRow{"fiveRadiationsNormals", SourceType::FiveRadiations, true, true, PictureFormat::Pdf},
                      FigureRow{"whiteLight", SourceType::WhiteLight, true, false, PictureFormat::Svg},
                      FigureRow{"whiteLight", SourceType::WhiteLight, true, false, PictureFormat::Pdf},
                      FigureRow{"whiteBackground", SourceType::FiveRadiations, false, true, PictureFormat::Svg},
                      FigureRow{"whiteBackground", SourceType::WhiteLight, false, false, PictureFormat::Pdf},
                      FigureRow{"lineLamp", SourceType::LineLamp, true, false, PictureFormat::Svg},
                      FigureRow{"lineLamp", SourceType::LineLamp, true, false, PictureFormat::Pdf},
                      FigureRow{"zoomedWhiteLight", SourceType::WhiteLight, true, false, PictureFormat::Svg, 3},
                      FigureRow{"zoomedFiveRadiations", SourceType::FiveRadiations, true, true, PictureFormat::Pdf, 2}),
    RowName());

// ---------------------------------------------------------------------------------------------
// The graph's SVG and PDF: the same plot, the fit included; the PDF is one vector page.

TEST(GraphExports, SvgAndPdfShowThePlotWithItsFit)
{
    GraphOptions options;
    options.fit = FitModel::Affine;
    const GraphPicture graph = ComputeGraph({"1", "2", "3", "4"}, {"2,1", "3,9", "6,2", "7,8"}, options, kFrench);
    const QImage png = GraphImage(graph);
    const auto paint = [&](QPainter &p) { PaintGraphVector(p, graph); };
    const QByteArray svg = svgBytes(png.size(), QStringLiteral("graphe"), paint);
    const QImage rendered = renderSvg(svg, png.size(), Qt::white);
    EXPECT_GE(coveredShare(png, rendered, 0xffffffffu), 0.9);
    EXPECT_GE(coveredShare(rendered, png, 0xffffffffu), 0.9);
    EXPECT_TRUE(svg.contains(graph.fitTexts[0].toUtf8())) << "the equation is text in the file";

    QTemporaryDir dir;
    const QString pdf = dir.filePath("graphe.pdf");
    writeAll(pdf, pdfBytes(png.size(), QStringLiteral("graphe"), paint));
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
        GTEST_SKIP() << "poppler-utils absent";
    EXPECT_EQ(pdfprobe::pageCount(pdf), 1);
    EXPECT_TRUE(pdfprobe::imageEncodings(pdf).isEmpty()) << "vector, no picture";
    const QStringList words = pdfprobe::lines(pdfprobe::words(pdf), 1);
    EXPECT_TRUE(words.join(u' ').contains(QStringLiteral("R²"))) << words.join(u'|').toStdString();
}

// ---------------------------------------------------------------------------------------------
// CSV for a spreadsheet under French settings.

struct CsvRow {
    const char *name;
    QLocale locale;
    std::vector<std::tuple<int, int, const char *>> cells; // row 0: titles
    int rows;
    const char *csv; // after the byte order mark
};
void PrintTo(const CsvRow &r, std::ostream *os)
{
    *os << r.name;
}
class TableCsv : public ::testing::TestWithParam<CsvRow>
{
};
TEST_P(TableCsv, IsWrittenForAFrenchSpreadsheet)
{
    ValueTable t;
    t.setLocale(GetParam().locale);
    t.setRows(GetParam().rows);
    for (const auto &[r, c, text] : GetParam().cells)
        t.setTextMatrix(r, c, QString::fromUtf8(text));
    const QByteArray bytes = tableCsv(t);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(QString::fromUtf8(bytes.mid(3)), QString::fromUtf8(GetParam().csv));
}
INSTANTIATE_TEST_SUITE_P(
    Rows, TableCsv,
    ::testing::Values(CsvRow{"titlesOnly", kFrench, {}, 11, "C1;C2;C3;C4;C5;C6;C7\r\n"},
                      CsvRow{"numbersTrailingLinesLeftOut",
                             kFrench,
                             {{1, 0, "1,500"}, {1, 1, "-2,000"}, {3, 6, "1,0E+05"}},
                             20,
                             "C1;C2;C3;C4;C5;C6;C7\r\n1,500;-2,000;;;;;\r\n;;;;;;\r\n;;;;;;1,0E+05\r\n"},
                      CsvRow{"titlesQuotedWhenNeeded",
                             kFrench,
                             {{0, 0, "i (°)"}, {0, 1, "a;b"}, {0, 2, "dit \"n\""}},
                             2,
                             "i (°);\"a;b\";\"dit \"\"n\"\"\";C4;C5;C6;C7\r\n"},
                      CsvRow{"englishPointBecomesComma",
                             QLocale(QLocale::English, QLocale::UnitedStates),
                             {{1, 0, "1.500"}},
                             2,
                             "C1;C2;C3;C4;C5;C6;C7\r\n1,500;;;;;;\r\n"}),
    RowName());

// LibreOffice Calc, headless, reads the CSV under French settings: numbers, not texts, in the
// right cells.
TEST(TableCsvInLibreOffice, ReadsNumbersInTheRightCells)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    ValueTable t;
    t.setLocale(kFrench);
    t.setTitle(0, QStringLiteral("i (°)"));
    t.setTitle(1, QStringLiteral("D (°)"));
    t.setCellValue(1, 0, 30.0f);
    t.setCellValue(1, 1, 37.25f);
    t.setCellValue(2, 0, 45.5f);
    t.setCellValue(2, 1, -0.125f);
    t.setTableNumberFormat(QStringLiteral("0.00E+00"));
    t.setCellValue(3, 2, 15000.0f);
    QTemporaryDir dir;
    const QString csv = dir.filePath("mesures.csv");
    writeAll(csv, tableCsv(t));
    QProcess office;
    office.setWorkingDirectory(dir.path());
    // A profile of its own, so that no other LibreOffice run is disturbed; 59 = ";", 34 = '"',
    // 76 = UTF-8, 1036 = French.
    office.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + dir.filePath("profile"),
                           QStringLiteral("--headless"), QStringLiteral("--norestore"),
                           QStringLiteral("--infilter=CSV:59,34,76,1,,1036"), QStringLiteral("--convert-to"),
                           QStringLiteral("fods"), QStringLiteral("--outdir"), dir.path(), csv});
    ASSERT_TRUE(office.waitForFinished(180000)) << "LibreOffice did not finish";
    const QByteArray fods = readAll(dir.filePath("mesures.fods"));
    ASSERT_FALSE(fods.isEmpty()) << office.readAllStandardError().toStdString();

    // The first sheet's cells, (row, column) -> (value type, value or text).
    std::map<std::pair<int, int>, std::pair<QString, QString>> cells;
    QXmlStreamReader xml(fods);
    int row = -1, col = 0;
    bool inSheet = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"table" && !inSheet)
            inSheet = true;
        else if (xml.isEndElement() && xml.name() == u"table")
            break;
        if (!inSheet || !xml.isStartElement())
            continue;
        if (xml.name() == u"table-row") {
            ++row;
            col = 0;
        } else if (xml.name() == u"table-cell") {
            const auto attrs = xml.attributes();
            const int repeat = std::max(1, attrs.value("table:number-columns-repeated").toInt());
            const QString type = attrs.value("office:value-type").toString();
            QString value = attrs.value("office:value").toString();
            if (type == u"string")
                value = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            cells[{row, col}] = {type, value};
            col += repeat;
        }
    }
    using Cell = std::pair<QString, QString>;
    EXPECT_EQ((cells[{0, 0}]), (Cell{"string", "i (°)"}));
    EXPECT_EQ((cells[{0, 1}]), (Cell{"string", "D (°)"}));
    EXPECT_EQ((cells[{1, 0}]), (Cell{"float", "30"}));
    EXPECT_EQ((cells[{1, 1}]), (Cell{"float", "37.25"}));
    EXPECT_EQ((cells[{2, 0}]), (Cell{"float", "45.5"}));
    EXPECT_EQ((cells[{2, 1}]), (Cell{"float", "-0.125"}));
    EXPECT_EQ((cells[{3, 2}]), (Cell{"float", "15000"}));
}
