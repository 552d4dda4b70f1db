// The scene drawn for a screen's device pixel ratio: the printed and measured picture never
// changes, ratio 1 is today's pixels, and a larger ratio is the same drawing, sharper.
#include "model/colour.h"
#include "model/constants.h"
#include "render/rasteriser.h"
#include "render/scenerenderer.h"
#include "rowname.h"

#include <gtest/gtest.h>

using namespace vorlac;

namespace
{

struct SceneRow {
    const char *name;
    SceneState state;
    bool whiteLight;
};

void PrintTo(const SceneRow &r, std::ostream *os)
{
    *os << r.name;
}

SceneState with(SourceType source, bool black, bool normals, double incidence = 36.0, int apex = 45)
{
    SceneState s;
    s.source = source;
    s.blackBackground = black;
    s.showNormals = normals;
    s.showPropagation = source != SourceType::WhiteLight;
    s.incidenceAngle = incidence;
    s.apexAngle = apex;
    return s;
}

const SceneRow kScenes[] = {
    {"monochromatic_normals", with(SourceType::Monochromatic, true, true), false},
    {"white_light", with(SourceType::WhiteLight, true, false, 50.0), true},
    {"apex_90_reflected", with(SourceType::Monochromatic, true, true, 0.0, 90), false},
};

void draw(const SceneRow &row, ScenePicture &picture)
{
    SpectrumColours spectrum{};
    FillSpectrumColours(spectrum);
    if (row.whiteLight)
        RedrawWhiteLight(row.state, spectrum, picture);
    else
        RedrawScene(row.state, picture);
}

bool lit(QRgb pixel, bool black)
{
    return black ? (pixel & 0xffffffu) != 0 : (pixel & 0xffffffu) != 0xffffffu;
}

class ScaledScene : public ::testing::TestWithParam<SceneRow>
{
};

TEST_P(ScaledScene, RatioOneDrawsTodaysPixelsAndNoScreenCopy)
{
    ScenePicture plain, atOne;
    atOne.setScreenRatio(1.0);
    draw(GetParam(), plain);
    draw(GetParam(), atOne);
    EXPECT_TRUE(atOne.screenImage.isNull());
    EXPECT_EQ(&atOne.shownImage(), &atOne.image);
    EXPECT_EQ(atOne.image, plain.image);
    // The naive drawing, one full trace after another, is the reference of today's pixels.
    if (!GetParam().whiteLight) {
        ScenePicture naive;
        drawRadiationsNaively(GetParam().state, sceneRadiations(GetParam().state), naive);
        EXPECT_EQ(atOne.image, naive.image);
    }
}

// The printed picture stays as it was; every lit 2 x 2 block of the ratio-2 picture lies on or
// beside a lit pixel of the logical one, and every lit logical pixel has a lit block on or beside
// it: the same drawing, only finer.
TEST_P(ScaledScene, RatioTwoIsTheSameDrawingInFinerPixels)
{
    ScenePicture plain, picture;
    picture.setScreenRatio(2.0);
    draw(GetParam(), plain);
    draw(GetParam(), picture);
    EXPECT_EQ(picture.image, plain.image);
    EXPECT_EQ(picture.screenImage.deviceIndependentSize().toSize(), QSize(kSceneWidth, kSceneHeight));
    const bool black = GetParam().state.blackBackground;
    const QImage &fine = picture.screenImage;
    auto fineBlockLit = [&](int x, int y) {
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx)
                if (lit(fine.pixel(2 * x + dx, 2 * y + dy), black))
                    return true;
        return false;
    };
    auto near = [&](auto &&isLit, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < kSceneWidth && ny < kSceneHeight && isLit(nx, ny))
                    return true;
            }
        return false;
    };
    auto coarseLit = [&](int x, int y) { return lit(picture.image.pixel(x, y), black); };
    int strayFine = 0, missingFine = 0, litCount = 0;
    for (int y = 0; y < kSceneHeight; ++y)
        for (int x = 0; x < kSceneWidth; ++x) {
            litCount += coarseLit(x, y);
            strayFine += fineBlockLit(x, y) && !near(coarseLit, x, y);
            missingFine += coarseLit(x, y) && !near(fineBlockLit, x, y);
        }
    EXPECT_GT(litCount, 200);
    EXPECT_EQ(strayFine, 0);
    EXPECT_EQ(missingFine, 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, ScaledScene, ::testing::ValuesIn(kScenes), RowName());

struct WidthRow {
    double scale;
    int width;           // rows lit across a horizontal line
    int dashOn, dashOff; // run lengths along a dashed one
};

void PrintTo(const WidthRow &r, std::ostream *os)
{
    *os << "scale " << r.scale;
}

class ScaledLines : public ::testing::TestWithParam<WidthRow>
{
};

TEST_P(ScaledLines, WidthAndDashesFollowTheScale)
{
    const WidthRow row = GetParam();
    QImage img(400, 100, QImage::Format_RGB32);
    img.fill(0xff000000u);
    LineRasteriser r(img, row.scale);
    EXPECT_EQ(r.lineWidth(), row.width);
    r.drawLine(10.0, 10.0, 150.0, 10.0, 0xffffffffu, true);
    // Rows lit at the line's start, and the on / off runs along its first row.
    int rows = 0;
    for (int y = 0; y < img.height(); ++y)
        rows += img.pixel(qRound(10 * row.scale), y) != 0xff000000u;
    EXPECT_EQ(rows, row.width);
    const int y0 = qRound(10 * row.scale);
    int on = 0, off = 0, x = qRound(10 * row.scale);
    while (img.pixel(x, y0) != 0xff000000u)
        ++on, ++x;
    while (img.pixel(x, y0) == 0xff000000u)
        ++off, ++x;
    EXPECT_EQ(on, row.dashOn);
    EXPECT_EQ(off, row.dashOff);
}

INSTANTIATE_TEST_SUITE_P(Rows, ScaledLines,
                         ::testing::Values(WidthRow{1.0, 1, 18, 6}, WidthRow{1.5, 2, 27, 9}, WidthRow{2.0, 2, 36, 12},
                                           WidthRow{3.0, 3, 54, 18}),
                         RowName());

} // namespace
