#include "analysis/measuretexts.h"
#include "common/displaysettings.h"
#include "model/constants.h"
#include "render/anglemarks.h"
#include "render/glyphline.h"
#include "render/platefill.h"
#include "render/rasteriser.h"
#include "render/scenerenderer.h"
#include "render/viewtrail.h"
#include "rowname.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <gtest/gtest.h>
#include <map>
#include <ostream>

using namespace vorlac;

namespace
{

struct MarkRow {
    const char *name;
    int prism, outside; // material rows
    SourceType source;
    int wavelength;
    bool black;
    int lamp = 0;                 // row of lineLamps() for a lamp source
    int decimals = 1;             // the panel's precision
    float prismA = 0, prismB = 0; // "Autre" when prismA is set
    double firstIncidence = -85;
};

[[maybe_unused]] void PrintTo(const MarkRow &row, std::ostream *os)
{
    *os << row.name;
}

class AngleMarkSweep : public ::testing::TestWithParam<MarkRow>
{
};

// Over every apex and a sweep of incidences: each label reads the panel's value at its precision,
// a mark exists exactly where the panel shows a value, and the labels stay inside the picture,
// apart, off every drawn ray (all 401 of white light) and off the other labels' leaders; r and r'
// lie nearer their own face.
TEST_P(AngleMarkSweep, LabelsArePanelTextsApartAndInside)
{
    const MarkRow &row = GetParam();
    const QLocale fr(QLocale::French, QLocale::France);
    SceneState s;
    s.prismMaterial = row.prism;
    s.outsideMaterial = row.outside;
    s.prismCauchyA = kMaterials[row.prism].cauchyA;
    s.prismCauchyB = kMaterials[row.prism].cauchyB;
    if (row.prismA > 0) {
        s.prismMaterial = kCustomMaterial;
        s.prismCauchyA = row.prismA;
        s.prismCauchyB = row.prismB;
    }
    s.outsideCauchyA = kMaterials[row.outside].cauchyA;
    s.outsideCauchyB = kMaterials[row.outside].cauchyB;
    s.source = row.source;
    s.wavelength = row.wavelength;
    s.blackBackground = row.black;
    s.lamp = row.lamp;
    const QRectF picture(0, 0, kSceneWidth, kSceneHeight);
    SpectrumColours spectrum{};
    FillSpectrumColours(spectrum);
    for (int apex : {2, 10, 13, 30, 45, 60, 75, 90})
        for (double incidence = row.firstIncidence; incidence <= 90; incidence += 7.5) {
            s.apexAngle = apex;
            s.incidenceAngle = incidence;
            SCOPED_TRACE(testing::Message() << "A=" << apex << " i=" << incidence);
            ScenePicture pic;
            RedrawScene(s, pic);
            const std::vector<RayMeasures> shown = shownMeasures(s, pic.measures);
            const RayMeasures *ray = nullptr;
            for (const RayMeasures &r : shown)
                if (r.wavelength == minimumWavelength(s))
                    ray = &r;
            ASSERT_NE(ray, nullptr);
            const MeasureLineTexts t = measureLineTexts(*ray, fr, row.decimals);
            std::map<AngleKind, QString> want{{AngleKind::Apex, QStringLiteral("A = %1°").arg(apex)}};
            const std::pair<AngleKind, std::pair<const char *, QString>> quantities[] = {
                {AngleKind::Incidence, {"i", t.incidence}},          {AngleKind::Refraction, {"r", t.refraction}},
                {AngleKind::ExitIncidence, {"r'", t.exitIncidence}}, {AngleKind::Emergence, {"i'", t.emergence}},
                {AngleKind::Deviation, {"D", t.deviation}},
            };
            for (const auto &[kind, q] : quantities)
                if (!q.second.isEmpty())
                    want[kind] = QString::fromLatin1(q.first) + QStringLiteral(" = ") + q.second + QStringLiteral("°");

            const SceneFigure figure = traceFigure(s, &spectrum);
            const AngleFigure fig = angleMarks(figure, fr, row.decimals);
            std::map<AngleKind, QString> got;
            for (const AngleMark &m : fig.marks)
                got[m.kind] = m.label;
            EXPECT_EQ(got, want);

            const QLineF entry(kApexX, kApexY, figure.layout.baseLeftX, kBaseY);
            const QLineF exit(kApexX, kApexY, figure.layout.baseRightX, kBaseY);
            const auto distance = [](const QLineF &f, QPointF p) {
                return std::abs(f.dx() * (p.y() - f.y1()) - f.dy() * (p.x() - f.x1())) / f.length();
            };
            for (std::size_t a = 0; a < fig.marks.size(); ++a) {
                const QRectF r = fig.marks[a].labelRect;
                const std::string label = fig.marks[a].label.toStdString();
                EXPECT_TRUE(picture.contains(r)) << label;
                for (std::size_t b = 0; b < fig.marks.size(); ++b) {
                    EXPECT_TRUE(b <= a || !r.intersects(fig.marks[b].labelRect)) << label;
                    EXPECT_FALSE(b != a && segmentMeetsRect(fig.marks[b].leader, r)) << label;
                }
                const auto offRays = [&](const Segment &seg) {
                    EXPECT_FALSE(segmentMeetsRect(QLineF(seg.x1, seg.y1, seg.x2, seg.y2), r)) << label;
                };
                forEachFigureSegment(figure, offRays);
                std::for_each(figure.measuredRay.segments.begin(), figure.measuredRay.segments.end(), offRays);
                // r by the entry face, r' by the exit face.
                const double toEntry = distance(entry, r.center()), toExit = distance(exit, r.center());
                EXPECT_TRUE(fig.marks[a].kind != AngleKind::Refraction || toEntry <= toExit) << label;
                EXPECT_TRUE(fig.marks[a].kind != AngleKind::ExitIncidence || toExit <= toEntry) << label;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AngleMarkSweep,
    ::testing::Values(MarkRow{"crown in air, 589 nm", 2, 0, SourceType::Monochromatic, 589, true},
                      MarkRow{"flint in air, five radiations", 3, 0, SourceType::FiveRadiations, 640, true},
                      MarkRow{"crown in water, white light", 2, 1, SourceType::WhiteLight, 450, false},
                      MarkRow{"water prism in flint, outside denser", 1, 3, SourceType::Monochromatic, 700, false},
                      MarkRow{"flint in air, neon lamp", 3, 0, SourceType::LineLamp, 640, true, 5},
                      MarkRow{"Autre 1,2 0 in water, white light, 0,01", 2, 1, SourceType::WhiteLight, 637, true, 0, 2,
                              1.2f, 0.0f, -64.28},
                      MarkRow{"flint in air, five radiations, 0,001", 3, 0, SourceType::FiveRadiations, 500, true, 0,
                              3}),
    RowName());

struct SettingsRow {
    const char *name;
    const char *text;
    DisplaySettings want;
};

[[maybe_unused]] void PrintTo(const SettingsRow &row, std::ostream *os)
{
    *os << row.name;
}

class DisplaySettingsText : public ::testing::TestWithParam<SettingsRow>
{
};

// Read back what was written; anything foreign or out of range keeps the first values.
TEST_P(DisplaySettingsText, ReadsWhatItWrites)
{
    const SettingsRow &row = GetParam();
    EXPECT_EQ(readDisplaySettings(row.text), row.want);
    EXPECT_EQ(readDisplaySettings(displaySettingsText(row.want)), row.want);
}

INSTANTIATE_TEST_SUITE_P(Rows, DisplaySettingsText,
                         ::testing::Values(SettingsRow{"empty file", "", DisplaySettings{}},
                                           SettingsRow{"all set", "angles=1\nepaisseur=6\nlecture=0\nspectre=1\n",
                                                       DisplaySettings{true, 6, false, 100, 1, true}},
                                           SettingsRow{"out of range and foreign",
                                                       "angles=2\r\nepaisseur=9\nx=1\nlecture\n", DisplaySettings{}}),
                         RowName());

} // namespace

namespace
{

class ZoomedLabels : public ::testing::TestWithParam<double>
{
};

// Zoomed about the prism's apex, the labels keep the unzoomed size and stay inside the window.
TEST_P(ZoomedLabels, KeepTheirSizeInsideTheWindow)
{
    SceneState s;
    const AngleFigure fig = angleMarks(traceFigure(s), QLocale(QLocale::French, QLocale::France));
    ASSERT_FALSE(fig.marks.empty());
    const double fit = 2.0, zoom = GetParam();
    const QRectF window(0, 0, kSceneWidth * fit, kSceneHeight * fit);
    QTransform toWindow;
    toWindow.scale(fit * zoom, fit * zoom);
    toWindow.translate(-kSceneWidth / 2.0 * (1 - 1 / zoom), -kSceneHeight / 2.0 * (1 - 1 / zoom));
    const std::vector<QRectF> places = labelsOnView(fig, toWindow, fit, window);
    ASSERT_EQ(places.size(), fig.marks.size());
    for (std::size_t k = 0; k < places.size(); ++k) {
        EXPECT_TRUE(window.contains(places[k])) << fig.marks[k].label.toStdString();
        EXPECT_EQ(places[k].size(), fig.marks[k].labelRect.size() * fit);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ZoomedLabels, ::testing::Values(1.0, 12.0),
                         [](const ::testing::TestParamInfo<double> &i) {
                             return "Zoom" + std::to_string(int(i.param));
                         });

} // namespace

namespace
{

struct PlateRow {
    const char *name;
    double ratio;
    QRectF box;
    QColor colour;
    bool antialiased = false;
};

[[maybe_unused]] void PrintTo(const PlateRow &row, std::ostream *os)
{
    *os << row.name;
}

class Plate : public ::testing::TestWithParam<PlateRow>
{
};

// A plate filled in bands covers the same pixels, with the same colour, as one fill.
TEST_P(Plate, SamePixelsAsOneFill)
{
    const PlateRow &row = GetParam();
    const auto fill = [&row](bool plate) {
        QImage image(QSize(200, 420) * row.ratio, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 7, y * 3, (x ^ y) & 0xff));
        image.setDevicePixelRatio(row.ratio);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, row.antialiased);
        if (plate)
            fillPlate(p, row.box, row.colour);
        else
            p.fillRect(row.box, row.colour);
        return image;
    };
    EXPECT_EQ(fill(true), fill(false));
}

// In an SVG (as in a PDF) a tall plate stays one rectangle: bands would show seams in a reader.
TEST(Plate, OneRectangleInAVectorFile)
{
    QBuffer svg;
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setSize(QSize(200, 420));
    QPainter p(&generator);
    fillPlate(p, QRectF(10, 10, 100, 380), QColor(255, 255, 255, 215));
    p.end();
    EXPECT_EQ(svg.data().count("<rect"), 1) << svg.data().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Plate,
    ::testing::Values(PlateRow{"short", 1, {10, 10, 100, 40}, QColor(255, 255, 255, 215)},
                      PlateRow{"tall", 1, {10, 10, 100, 380}, QColor(255, 255, 255, 215)},
                      PlateRow{"tall at halves", 1, {10.5, 9.5, 100.25, 300.5}, QColor(0, 0, 0, 190)},
                      PlateRow{"thirds at ratio 2", 2, {14.33, 7.66, 120.2, 333.33}, QColor(0, 0, 0, 190)},
                      PlateRow{"ratio 1.5", 1.5, {3.3, 4.7, 90, 260.1}, QColor(255, 255, 255, 220)},
                      PlateRow{"opaque", 1, {10, 10, 100, 380}, QColor(20, 40, 60)},
                      PlateRow{"antialiased", 1, {10.4, 10.4, 100, 380.3}, QColor(255, 255, 255, 215), true}),
    RowName());

struct ClearRow {
    const char *name;
    QImage::Format format;
    quint32 background;
    double scale; // device pixels per painter pixel
    int rayWidth;
    bool padded = false; // lines longer than the picture, as a window's store may be
};

[[maybe_unused]] void PrintTo(const ClearRow &row, std::ostream *os)
{
    *os << row.name;
}

class Clear : public ::testing::TestWithParam<ClearRow>
{
};

// fillImage writes what QImage::fill does; a trail clears every pixel its frame drew, rays, an
// antialiased arc, guide and plate, and a trail that did not see the last frame clears them all.
TEST_P(Clear, LeavesOnlyTheBackground)
{
    const ClearRow &row = GetParam();
    QImage store(row.padded ? 360 : 300, 200, row.format);
    QImage image = row.padded ? QImage(store.bits(), 300, 200, store.bytesPerLine(), row.format) : store;
    QImage expected(300, 200, row.format);
    expected.fill(row.background);
    const auto draw = [&](ViewTrail &trail) {
        trail.clear(image, row.background, row.scale);
        LineRasteriser raster(image, row.scale);
        for (const QLine l : {QLine(-20, 30, 320, 170), QLine(40, 190, 60, 5), QLine(10, 100, 290, 101)}) {
            raster.drawWideLine(l.x1(), l.y1(), l.x2(), l.y2(), 0xff00ff00u, true, row.rayWidth);
            trail.addRasterLine(l.x1(), l.y1(), l.x2(), l.y2(), row.rayWidth);
        }
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(row.scale, row.scale);
        trail.setToDevice(QTransform::fromScale(row.scale, row.scale));
        p.setPen(QPen(Qt::red, 1.5));
        const QLineF chords[] = {{50, 50, 58, 46}, {58, 46, 66, 45.5}, {20.3, 120.6, 110.2, 70.1}};
        for (const QLineF &chord : chords) {
            p.drawLine(chord);
            trail.addStroke(chord, 1.5);
        }
        p.fillRect(QRectF(30.5, 20.25, 40.3, 17.7), QColor(255, 255, 255, 215));
        trail.addRect(QRectF(30.5, 20.25, 40.3, 17.7));
    };
    ViewTrail trail;
    draw(trail);
    EXPECT_NE(image, expected);
    draw(trail); // the same again, in place
    trail.clear(image, row.background, row.scale);
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
    draw(trail);
    ViewTrail stranger; // saw none of it
    stranger.clear(image, row.background, row.scale);
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
    QImage other(store.size(), row.format);
    other.fill(0x12345678u);
    fillImage(other, row.background);
    store.fill(0x12345678u);
    store.fill(row.background);
    EXPECT_EQ(other, store);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Clear,
    ::testing::Values(ClearRow{"black window", QImage::Format_RGB32, 0xff000000u, 1, 1},
                      ClearRow{"white store", QImage::Format_ARGB32_Premultiplied, 0xffffffffu, 1, 1},
                      ClearRow{"projector scale and wide rays", QImage::Format_RGB32, 0xff000000u, 1.33, 3},
                      ClearRow{"hidpi padded store", QImage::Format_ARGB32_Premultiplied, 0xffffffffu, 2, 2, true},
                      ClearRow{"rgb32 without alpha given", QImage::Format_RGB32, 0x00102030u, 2.25, 5}),
    RowName());

struct GlyphRow {
    const char *name;
    QString text;
    Qt::Alignment align;
    bool drawn; // false: left to drawText
    bool vector = false;
};

[[maybe_unused]] void PrintTo(const GlyphRow &row, std::ostream *os)
{
    *os << row.name;
}

class GlyphLine : public ::testing::TestWithParam<GlyphRow>
{
};

// Glyphs placed by their advances show as drawText shows the same words; what the font lacks,
// and a vector file, are left to drawText.
TEST_P(GlyphLine, SamePixelsAsDrawText)
{
    const GlyphRow &row = GetParam();
    QFont font = angleMarkFont();
    const QRectF box(10.5, 7, 120, 19);
    if (row.vector) {
        QBuffer svg;
        QSvgGenerator generator;
        generator.setOutputDevice(&svg);
        QPainter p(&generator);
        EXPECT_FALSE(drawGlyphLine(p, QRawFont::fromFont(font), box, row.align, row.text));
        return;
    }
    const auto draw = [&](bool glyphs) {
        QImage image(150, 40, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter p(&image);
        p.setPen(Qt::white);
        p.setFont(font);
        if (!glyphs)
            p.drawText(box, row.align | Qt::AlignVCenter, row.text);
        else if (drawGlyphLine(p, QRawFont::fromFont(font), box, row.align | Qt::AlignVCenter, row.text) != row.drawn)
            ADD_FAILURE() << "drawn";
        return image;
    };
    const QImage glyphs = draw(true);
    EXPECT_EQ(glyphs == draw(false), row.drawn);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GlyphLine,
    ::testing::Values(GlyphRow{"value on the right", QStringLiteral("1,546416"), Qt::AlignRight, true},
                      GlyphRow{"label centred", QStringLiteral("i = 36,0°"), Qt::AlignHCenter, true},
                      GlyphRow{"title on the left", QStringLiteral("i lim. (°)"), Qt::AlignLeft, true},
                      GlyphRow{"outside the font", QStringLiteral("i = \U0001F600"), Qt::AlignLeft, false},
                      GlyphRow{"vector file", QStringLiteral("D = 25,3°"), Qt::AlignLeft, false, true}),
    RowName());

} // namespace
