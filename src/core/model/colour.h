#pragma once

#include <QRgb>
#include <array>
#include <cstdint>

namespace vorlac
{

// Packed colour R + 256*G + 65536*B: the colour of a ray, of a spectrum entry, of the palette.
using Rgb = std::uint32_t;

constexpr Rgb makeRgb(int r, int g, int b)
{
    return static_cast<Rgb>(r) | (static_cast<Rgb>(g) << 8) | (static_cast<Rgb>(b) << 16);
}
constexpr int redOf(Rgb c)
{
    return static_cast<int>(c & 0xff);
}
constexpr int greenOf(Rgb c)
{
    return static_cast<int>((c >> 8) & 0xff);
}
constexpr int blueOf(Rgb c)
{
    return static_cast<int>((c >> 16) & 0xff);
}

// Opaque QRgb (0xffRRGGBB) of a packed colour.
constexpr QRgb toQRgb(Rgb c)
{
    return 0xff000000u | (static_cast<QRgb>(redOf(c)) << 16) | (static_cast<QRgb>(greenOf(c)) << 8) |
           static_cast<QRgb>(blueOf(c));
}

// The classic 16-colour palette entries the drawing uses.
namespace palette
{
inline constexpr Rgb Black = makeRgb(0, 0, 0);
inline constexpr Rgb LightGrey = makeRgb(192, 192, 192);
inline constexpr Rgb DarkCyan = makeRgb(0, 128, 128); // palette colour 3
inline constexpr Rgb DarkGrey = makeRgb(128, 128, 128);
inline constexpr Rgb Blue = makeRgb(0, 0, 255);
inline constexpr Rgb Green = makeRgb(0, 255, 0);
inline constexpr Rgb Cyan = makeRgb(0, 255, 255);
inline constexpr Rgb Red = makeRgb(255, 0, 0);
inline constexpr Rgb Yellow = makeRgb(255, 255, 0);
inline constexpr Rgb White = makeRgb(255, 255, 255);
} // namespace palette

inline constexpr int kMinWavelength = 400;
inline constexpr int kMaxWavelength = 800;
inline constexpr int kSpectrumSize = kMaxWavelength - kMinWavelength + 1;

using SpectrumColours = std::array<Rgb, kSpectrumSize>;

// Writes the display colour of the wavelength (nm) into colour; outside 400..800 the colour
// is left as it was.
void WavelengthColour(int lambda, Rgb &colour);

// spectrumColour[k] = colour of 400 + k nm.
void FillSpectrumColours(SpectrumColours &spectrumColour);

} // namespace vorlac
