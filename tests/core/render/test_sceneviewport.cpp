#include "model/constants.h"
#include "render/sceneoverlays.h"
#include "render/scenerenderer.h"
#include "render/sceneviewport.h"
#include "rowname.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <ostream>

using namespace vorlac;

namespace
{

struct ZoomRow {
    const char *name;
    QSizeF window;
    QPointF pointer;
    std::vector<double> factors;
    double zoom; // after them
};

[[maybe_unused]] void PrintTo(const ZoomRow &row, std::ostream *os)
{
    *os << row.name;
}

class ZoomAboutPointer : public ::testing::TestWithParam<ZoomRow>
{
};

// The scene point under the pointer stays there at every step within 1x..20x; back at 1x the
// view is the whole scene again, wherever the pointer was.
TEST_P(ZoomAboutPointer, KeepsThePointUnderThePointer)
{
    const ZoomRow &row = GetParam();
    SceneViewport v = row.window.width() == kSceneWidth ? designedViewport() : fittedViewport(row.window);
    const SceneViewport start = v;
    for (const double f : row.factors) {
        const QPointF under = v.toScene(row.pointer);
        const bool clamped = v.zoom * f > kMaxZoom || v.zoom * f <= kMinZoom;
        zoomAbout(v, row.pointer, f);
        if (!clamped || v.zoom == kMaxZoom) {
            EXPECT_NEAR(v.toScene(row.pointer).x(), under.x(), 1e-9);
            EXPECT_NEAR(v.toScene(row.pointer).y(), under.y(), 1e-9);
        }
    }
    EXPECT_DOUBLE_EQ(v.zoom, row.zoom);
    if (row.zoom == 1.0) {
        EXPECT_EQ(v, start);
    }
    panBy(v, QPointF(-1e6, 1e6), row.window);
    const QPointF centre = v.toScene(QPointF(row.window.width(), row.window.height()) / 2);
    EXPECT_TRUE(QRectF(0, 0, kSceneWidth, kSceneHeight).adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(centre));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ZoomAboutPointer,
    ::testing::Values(ZoomRow{"designed view, in twice", {616, 390}, {100, 50}, {2, 1.5}, 3},
                      ZoomRow{"projector, to the limit", {1920, 1080}, {1500, 300}, {4, 4, 4}, 20},
                      ZoomRow{"projector, in and out again", {1920, 1080}, {10, 1000}, {3, 0.5, 0.5}, 1},
                      ZoomRow{"tall window, out below 1", {500, 900}, {250, 450}, {0.8}, 1}),
    RowName());

struct ViewRow {
    const char *name;
    SourceType source;
    bool black;
    int width;
};

[[maybe_unused]] void PrintTo(const ViewRow &row, std::ostream *os)
{
    *os << row.name;
}

class SceneViewDrawing : public ::testing::TestWithParam<ViewRow>
{
};

// At one window pixel per scene pixel and one-pixel rays the redrawn view is the picture with
// Line1; wider rays light more of the same places and nothing far from them.
TEST_P(SceneViewDrawing, DesignedViewIsThePicture)
{
    const ViewRow &row = GetParam();
    SceneState s;
    s.source = row.source;
    s.blackBackground = row.black;
    s.showNormals = true;
    SpectrumColours spectrum;
    FillSpectrumColours(spectrum);
    ScenePicture pic;
    RedrawScene(s, pic);
    RedrawWhiteLight(s, spectrum, pic);
    QImage want = pic.image;
    {
        QPainter p(&want);
        paintSceneOverlays(p, sceneOverlays(pic), nullptr);
    }
    QImage got(kSceneWidth, kSceneHeight, QImage::Format_RGB32);
    drawSceneView(traceFigure(s, &spectrum), designedViewport(), 1.0, row.width, got);
    const QRgb ground = row.black ? 0xff000000u : 0xffffffffu;
    int lit = 0, wantLit = 0;
    for (int y = 0; y < kSceneHeight; ++y)
        for (int x = 0; x < kSceneWidth; ++x) {
            wantLit += want.pixel(x, y) != ground;
            lit += got.pixel(x, y) != ground;
            if (want.pixel(x, y) != ground && row.width > 1) {
                EXPECT_NE(got.pixel(x, y), ground) << x << "," << y;
            }
        }
    if (row.width == 1) {
        EXPECT_EQ(got, want);
    } else {
        EXPECT_GT(lit, wantLit * (row.width - 1));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SceneViewDrawing,
                         ::testing::Values(ViewRow{"five radiations, 1 px", SourceType::FiveRadiations, true, 1},
                                           ViewRow{"monochromatic on white, 1 px", SourceType::Monochromatic, false, 1},
                                           ViewRow{"white light, 1 px", SourceType::WhiteLight, true, 1},
                                           ViewRow{"five radiations, 3 px", SourceType::FiveRadiations, true, 3}),
                         RowName());

} // namespace
