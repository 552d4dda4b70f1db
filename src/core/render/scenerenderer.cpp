#include "render/scenerenderer.h"

#include "model/constants.h"
#include "model/glasscatalogue.h"
#include "model/linelamps.h"
#include "render/platefill.h"
#include "render/rasteriser.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <limits>

namespace vorlac
{

namespace
{

void prepare(const SceneState &state, QImage &image, LineRasteriser &raster)
{
    fillImage(image, state.blackBackground ? 0xff000000u : 0xffffffffu);
    raster.setMode(state.blackBackground ? PenMode::Merge : PenMode::Blackness);
}

void prepare(const SceneState &state, ScenePicture &picture, LineRasteriser &raster)
{
    prepare(state, picture.image, raster);
}

// The picture's pixels and, at a screen ratio other than 1, the screen's copy: every line goes
// to both, so the two never show different traces.
class PictureRasters
{
  public:
    PictureRasters(const SceneState &state, ScenePicture &picture) : m_logical(picture.image)
    {
        prepare(state, picture.image, m_logical);
        if (!picture.screenImage.isNull()) {
            m_screen.emplace(picture.screenImage, picture.screenImage.devicePixelRatio());
            prepare(state, picture.screenImage, *m_screen);
        }
    }
    void drawLine(double x1, double y1, double x2, double y2, QRgb colour, bool dashed)
    {
        m_logical.drawLine(x1, y1, x2, y2, colour, dashed);
        if (m_screen)
            m_screen->drawLine(x1, y1, x2, y2, colour, dashed);
    }

  private:
    LineRasteriser m_logical;
    std::optional<LineRasteriser> m_screen;
};

} // namespace

namespace
{

template <typename Raster> void drawSegments(Raster &raster, const std::vector<Segment> &segments, std::size_t from)
{
    for (std::size_t i = from; i < segments.size(); ++i) {
        const Segment &s = segments[i];
        raster.drawLine(s.x1, s.y1, s.x2, s.y2, toQRgb(s.colour), s.dashed);
    }
}

} // namespace

ScenePicture::ScenePicture() : image(kSceneWidth, kSceneHeight, QImage::Format_RGB32)
{
    image.fill(0xff000000u);
}

void ScenePicture::setScreenRatio(double ratio)
{
    if (!(ratio > 1.0) || !std::isfinite(ratio) || ratio > 8.0) {
        screenImage = QImage();
        return;
    }
    if (!screenImage.isNull() && screenImage.devicePixelRatio() == ratio)
        return;
    const QSize size(static_cast<int>(std::ceil(kSceneWidth * ratio)),
                     static_cast<int>(std::ceil(kSceneHeight * ratio)));
    screenImage = QImage(size, QImage::Format_RGB32);
    screenImage.setDevicePixelRatio(ratio);
    screenImage.fill(0xff000000u);
}

double ScenePicture::screenRatio() const
{
    return screenImage.isNull() ? 1.0 : screenImage.devicePixelRatio();
}

TraceLayout sharedPrimitives(const SceneState &state, const std::vector<Radiation> &rays, std::vector<Segment> &out)
{
    Rgb allColours = 0;
    for (const Radiation &r : rays)
        allColours |= r.colour;
    TraceInput shared = traceInputFor(state, rays.front());
    shared.colour = allColours;
    return computeLayout(shared, &out);
}

// The outline, entry normal and incident arrow are the same for every ray of a picture; only
// the arrow's colour changes. OR and blackness are idempotent and order-free, so drawing them
// once with the OR of all ray colours gives the same pixels as drawing them for every ray.
void drawFigure(const SceneFigure &figure, ScenePicture &picture)
{
    PictureRasters raster(figure.state, picture);
    forEachFigureSegment(
        figure, [&raster](const Segment &s) { raster.drawLine(s.x1, s.y1, s.x2, s.y2, toQRgb(s.colour), s.dashed); });
    picture.raysTraced = static_cast<int>(figure.rays.size());
    picture.measures = figure.measures;
    picture.line1Colour = figure.line1Colour;
    if (!figure.rays.empty())
        picture.lastLayout = figure.layout;
}

TraceLayout RedrawScene(const SceneState &state, ScenePicture &picture)
{
    const SceneFigure figure = traceFigure(state);
    drawFigure(figure, picture);
    return figure.layout;
}

const TraceMeasures *measuresAt(const ScenePicture &picture, double wavelength)
{
    for (const RayMeasures &m : picture.measures)
        if (m.wavelength == wavelength)
            return &m.measures;
    return nullptr;
}

std::optional<TraceLayout> RedrawWhiteLight(const SceneState &state, const SpectrumColours &spectrumColour,
                                            ScenePicture &picture)
{
    if (state.source != SourceType::WhiteLight)
        return std::nullopt;
    const SceneFigure figure = traceFigure(state, &spectrumColour);
    drawFigure(figure, picture);
    return figure.layout;
}

TraceLayout drawRadiationsNaively(const SceneState &state, const std::vector<Radiation> &rays, ScenePicture &picture)
{
    LineRasteriser raster(picture.image);
    prepare(state, picture, raster);
    picture.raysTraced = 0;
    picture.measures.clear();
    TraceResult result;
    for (const Radiation &r : rays) {
        TraceRay(traceInputFor(state, r), result, true);
        drawSegments(raster, result.segments, 0);
        picture.lastLayout = result.layout;
        ++picture.raysTraced;
        picture.measures.push_back({r.wavelength, result.measures});
    }
    return picture.lastLayout;
}

} // namespace vorlac
