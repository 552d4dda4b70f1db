#include "model/constants.h"
#include "render/rasteriser.h"
#include "render/scenerenderer.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <random>
#include <set>

using namespace vorlac;

namespace
{

QImage blank(int w, int h, QRgb fill = 0xff000000u)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

int countPixels(const QImage &img, QRgb value)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == value;
    return n;
}

TEST(Rasteriser, BothEndsAndEveryStepAreDrawn)
{
    QImage img = blank(20, 20);
    LineRasteriser r(img);
    r.drawLine(2.0, 3.0, 12.0, 8.0, 0xff0000ffu);
    EXPECT_EQ(countPixels(img, 0xff0000ffu), 11);
    EXPECT_EQ(img.pixel(2, 3), 0xff0000ffu);
    EXPECT_EQ(img.pixel(12, 8), 0xff0000ffu);
}

TEST(Rasteriser, EndPointsRoundHalvesToEven)
{
    QImage img = blank(10, 10);
    LineRasteriser r(img);
    r.drawLine(2.5, 3.5, 2.5, 3.5, 0xffffffffu);
    EXPECT_EQ(img.pixel(2, 4), 0xffffffffu);
    EXPECT_EQ(countPixels(img, 0xffffffffu), 1);
}

TEST(Rasteriser, OrMergesCrossingColours)
{
    QImage img = blank(50, 50);
    LineRasteriser r(img);
    r.drawLine(0.0, 25.0, 49.0, 25.0, 0xff0000ffu); // blue
    r.drawLine(25.0, 0.0, 25.0, 49.0, 0xffff0000u); // red
    EXPECT_EQ(img.pixel(25, 25), 0xffff00ffu);      // magenta where they cross
    EXPECT_EQ(img.pixel(10, 25), 0xff0000ffu);
    EXPECT_EQ(img.pixel(25, 10), 0xffff0000u);
}

TEST(Rasteriser, BlacknessBlackensWhateverTheColour)
{
    QImage img = blank(30, 30, 0xffffffffu);
    LineRasteriser r(img);
    r.setMode(PenMode::Blackness);
    r.drawLine(0.0, 0.0, 29.0, 29.0, 0xffc0c0c0u);
    EXPECT_EQ(img.pixel(15, 15), 0xff000000u);
    EXPECT_EQ(countPixels(img, 0xff000000u), 30);
}

TEST(Rasteriser, DashedLineLeavesGaps)
{
    QImage img = blank(100, 3);
    LineRasteriser r(img);
    r.drawLine(0.0, 1.0, 99.0, 1.0, 0xffc0c0c0u, true);
    // 18 on, 6 off, from the first end
    for (int x = 0; x < 100; ++x) {
        const bool on = x < 18 || (x >= 24 && x < 42) || (x >= 48 && x < 66) || (x >= 72 && x < 90) || x >= 96;
        ASSERT_EQ(img.pixel(x, 1) != 0xff000000u, on) << x;
    }
}

// Clipping must not move pixels: a line drawn into a small picture lights exactly the pixels
// it lights in the same region of a much larger one.
TEST(Rasteriser, ClippingKeepsThePixelsOfTheUnclippedLine)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-700, 900);
    const int off = 800;
    for (int iter = 0; iter < 400; ++iter) {
        const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
        const bool dashed = iter % 3 == 0;
        QImage small = blank(200, 150);
        LineRasteriser rs(small);
        rs.drawLine(std::int64_t(x1), std::int64_t(y1), std::int64_t(x2), std::int64_t(y2), 0xffffffffu, dashed);
        QImage big = blank(2600, 2600);
        LineRasteriser rb(big);
        rb.drawLine(std::int64_t(x1 + off), std::int64_t(y1 + off), std::int64_t(x2 + off), std::int64_t(y2 + off),
                    0xffffffffu, dashed);
        ASSERT_EQ(small, big.copy(off, off, 200, 150)) << x1 << "," << y1 << " " << x2 << "," << y2;
    }
}

TEST(Rasteriser, HugeAndNonFiniteCoordinatesAreSafe)
{
    QImage img = blank(20, 20);
    LineRasteriser r(img);
    r.drawLine(-1e300, 5.0, 1e300, 5.0, 0xffffffffu);
    r.drawLine(std::nan(""), 0.0, 10.0, 10.0, 0xffffffffu);
    r.drawLine(1e12, 1e12, 1e12 + 5, 1e12, 0xffffffffu);
    EXPECT_EQ(img.pixel(10, 5), 0xffffffffu);
}

struct SceneRow {
    const char *name;
    SourceType source;
    bool black;
    bool normals;
    bool propagation;
    int apex;
    double incidence;
    int prism, outside;
};

void PrintTo(const SceneRow &r, std::ostream *os)
{
    *os << r.name;
}

class FastRedraw : public ::testing::TestWithParam<SceneRow>
{
};

// Drawing the shared primitives once must give the very pixels of drawing every trace in full.
TEST_P(FastRedraw, IsPixelIdenticalToDrawingEverything)
{
    const SceneRow row = GetParam();
    SceneState state;
    state.source = row.source;
    state.blackBackground = row.black;
    state.showNormals = row.normals;
    state.showPropagation = row.propagation;
    state.apexAngle = row.apex;
    state.incidenceAngle = row.incidence;
    state.prismCauchyA = kMaterials[row.prism].cauchyA;
    state.prismCauchyB = kMaterials[row.prism].cauchyB;
    state.outsideCauchyA = kMaterials[row.outside].cauchyA;
    state.outsideCauchyB = kMaterials[row.outside].cauchyB;
    SpectrumColours spectrum{};
    FillSpectrumColours(spectrum);

    ScenePicture fast, naive;
    std::vector<Radiation> rays;
    TraceLayout quick;
    if (row.source == SourceType::WhiteLight) {
        const std::optional<TraceLayout> l = RedrawWhiteLight(state, spectrum, fast);
        ASSERT_TRUE(l);
        quick = *l;
        rays = whiteLightRadiations(spectrum);
    } else {
        quick = RedrawScene(state, fast);
        rays = sceneRadiations(state);
    }
    const TraceLayout slow = drawRadiationsNaively(state, rays, naive);
    EXPECT_EQ(fast.image, naive.image);
    EXPECT_EQ(fast.raysTraced, static_cast<int>(rays.size()));
    EXPECT_EQ(quick.incidenceAngle, slow.incidenceAngle);
    EXPECT_EQ(quick.incidencePointX, slow.incidencePointX);
    EXPECT_EQ(fast.lastLayout.line1Start.x, naive.lastLayout.line1Start.x);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FastRedraw,
    ::testing::Values(SceneRow{"FiveDefault", SourceType::FiveRadiations, true, false, true, 45, 36, 2, 0},
                      SceneRow{"FiveNormals", SourceType::FiveRadiations, true, true, true, 80, 0, 3, 0},
                      SceneRow{"MonoWhiteBg", SourceType::Monochromatic, false, true, true, 60, -20, 2, 0},
                      SceneRow{"WhiteLight", SourceType::WhiteLight, true, false, false, 45, 36, 3, 0},
                      SceneRow{"WhiteLightMarks", SourceType::WhiteLight, true, true, true, 70, 50, 3, 0},
                      SceneRow{"WhiteOnWhite", SourceType::WhiteLight, false, false, false, 45, 36, 2, 0},
                      SceneRow{"ReflectedAtEntry", SourceType::FiveRadiations, true, true, true, 45, 80, 0, 1}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(Scene, DefaultPictureHasTheFiveColoursAndAWhiteIncidentArrow)
{
    SceneState state;
    ScenePicture pic;
    RedrawScene(state, pic);
    EXPECT_EQ(pic.line1Colour, palette::White);
    EXPECT_EQ(pic.raysTraced, 5);
    std::set<QRgb> colours;
    for (int y = 0; y < pic.image.height(); ++y)
        for (int x = 0; x < pic.image.width(); ++x)
            colours.insert(pic.image.pixel(x, y));
    for (Rgb c : {palette::Blue, palette::Cyan, palette::Green, palette::Yellow, palette::Red, palette::LightGrey})
        EXPECT_TRUE(colours.count(toQRgb(c))) << std::hex << c;
    // The five arrows on the incident ray merge into white.
    std::vector<Segment> arrow;
    const TraceLayout &l = pic.lastLayout;
    DrawPropagationArrow(std::int16_t(std::nearbyint(l.line1Start.x)), std::int16_t(std::nearbyint(l.line1Start.y)),
                         262, 125, 0.4, palette::White, arrow);
    EXPECT_EQ(pic.image.pixel(int(std::nearbyint(arrow[0].x1)), int(std::nearbyint(arrow[0].y1))), 0xffffffffu);
}

TEST(Scene, WhiteBackgroundDrawsEverythingBlack)
{
    SceneState state;
    state.blackBackground = false;
    state.showNormals = true;
    ScenePicture pic;
    RedrawScene(state, pic);
    EXPECT_EQ(pic.line1Colour, palette::Black);
    int black = 0;
    for (int y = 0; y < pic.image.height(); ++y)
        for (int x = 0; x < pic.image.width(); ++x) {
            const QRgb p = pic.image.pixel(x, y);
            ASSERT_TRUE(p == 0xffffffffu || p == 0xff000000u) << x << "," << y;
            black += p == 0xff000000u;
        }
    EXPECT_GT(black, 500);
    EXPECT_EQ(pic.image.pixel(304, 25), 0xff000000u); // the apex of the (grey) outline
}

TEST(Scene, MonochromaticRayAndLine1TakeTheWavelengthColour)
{
    SceneState state;
    state.source = SourceType::Monochromatic;
    state.wavelength = 589;
    ScenePicture pic;
    RedrawScene(state, pic);
    EXPECT_EQ(pic.line1Colour, makeRgb(249, 255, 0));
    EXPECT_EQ(pic.raysTraced, 1);
}

TEST(Scene, WhiteLightFansOutAndWhitensWhereRaysOverlap)
{
    SceneState state;
    state.source = SourceType::WhiteLight;
    state.showPropagation = false;
    state.prismCauchyA = kMaterials[3].cauchyA;
    state.prismCauchyB = kMaterials[3].cauchyB;
    SpectrumColours spectrum{};
    FillSpectrumColours(spectrum);
    ScenePicture pic;
    ASSERT_TRUE(RedrawWhiteLight(state, spectrum, pic));
    EXPECT_EQ(pic.raysTraced, 401);
    EXPECT_EQ(pic.line1Colour, palette::White);
    // All rays start at M: white there. Far out they are apart: many distinct colours.
    EXPECT_EQ(pic.image.pixel(262, 125), 0xffffffffu);
    std::set<QRgb> colours;
    for (int y = 0; y < pic.image.height(); ++y)
        for (int x = 450; x < pic.image.width(); ++x)
            colours.insert(pic.image.pixel(x, y));
    EXPECT_GT(colours.size(), 40u);
}

TEST(Scene, WhiteLightRedrawOnlyInWhiteLight)
{
    SceneState state;
    SpectrumColours spectrum{};
    FillSpectrumColours(spectrum);
    ScenePicture pic;
    const QImage before = pic.image;
    EXPECT_FALSE(RedrawWhiteLight(state, spectrum, pic));
    EXPECT_EQ(pic.image, before);
}

TEST(Scene, RedrawReturnsTheClampedIncidenceAndLeavesTheStateAlone)
{
    SceneState state;
    state.apexAngle = 60;
    state.incidenceAngle = -150;
    const SceneState before = state;
    ScenePicture pic;
    EXPECT_EQ(RedrawScene(state, pic).incidenceAngle, -120);
    EXPECT_EQ(state, before);
    state.incidenceAngle = 120;
    const TraceLayout l = RedrawScene(state, pic);
    EXPECT_EQ(l.incidenceAngle, 90);
    EXPECT_EQ(l.incidencePointX, 246);
    EXPECT_EQ(pic.lastLayout.incidencePointX, 246);
}

} // namespace
