#pragma once

namespace vorlac
{

// The optical model's own angle constants. They differ slightly from the exact values and the
// figures pupils compare with their measurements depend on them, so keep them as they are.
inline constexpr double kDegToRad = 0.0174532;
inline constexpr double kRadToDeg = 57.29578;
inline constexpr double kPi = 3.1415927;

// Size of the scene picture, in pixels.
inline constexpr int kSceneWidth = 616;
inline constexpr int kSceneHeight = 390;

// Fixed prism geometry, in scene pixels.
inline constexpr int kApexX = 304;
inline constexpr int kApexY = 25;
inline constexpr int kBaseY = 225;
inline constexpr int kIncidenceY = 125;

} // namespace vorlac
