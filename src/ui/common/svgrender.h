#pragma once

// Drawing an SVG into an image: shared by the program and by the build tools that bake the
// pictures start-up needs (tools/bakepictures.cpp) and the installed icons
// (packaging/rendericon.cpp), so that what they bake is the program's drawing. Needs Qt Gui and
// Svg only.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace vorlac
{

// The logical DPI the pictures are baked at (the offscreen platform's). SVG text sized in points
// is laid out at the paint device's DPI, so a baked picture stands for a fresh drawing only where a
// new image has this DPI.
inline constexpr int kBakedDpi = 96;

// The SVG at svgPath drawn over the whole of a transparent premultiplied ARGB image of pixelSize;
// a missing or unreadable file leaves it transparent, and *readable (when given) false.
QImage renderSvgImage(const QString &svgPath, QSize pixelSize, bool *readable = nullptr);

// The resource file name of the baked picture of an SVG at a size in device pixels. A baked picture
// is the image's premultiplied ARGB pixels as they lie in memory, row after row: read with no
// decoding, stored uncompressed (src/ui/CMakeLists.txt).
QString bakedPictureName(const QString &name, QSize pixelSize);
QByteArray bakedPictureBytes(const QImage &image);

// The baked picture of an SVG at a size in device pixels, from the program's resources; a null
// image when there is none of that size.
QImage bakedPicture(const QString &name, QSize pixelSize);

} // namespace vorlac
