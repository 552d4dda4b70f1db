#pragma once

#include <QByteArray>

namespace vorlac
{

// The display choices kept from one start to the next, one "name=value" line each in the
// program's state folder. Off or at their first values, the pictures are the designed ones.
struct DisplaySettings {
    bool angleMarks = false;       // "Angles sur le schéma"
    int projectionRayWidth = 3;    // pixels, 1..6
    bool projectionReadout = true; // the large read-out in the projection window's corner
    int magnifierZoom = 100;       // "Grossissement" of the emergent beam, 10..200
    int angleDecimals = 1;         // the measurements panel's angles: 0,1 / 0,01 / 0,001 degree
    bool projectionStrip = false;  // the observed spectrum along the projection's bottom
    bool operator==(const DisplaySettings &) const = default;
};

inline constexpr int kMinRayWidth = 1;
inline constexpr int kMaxRayWidth = 6;
inline constexpr int kMinSettingsZoom = 10, kMaxSettingsZoom = 200;
inline constexpr int kMinSettingsDecimals = 1, kMaxSettingsDecimals = 3;

// Unknown lines and values out of range are ignored (the first values stay).
DisplaySettings readDisplaySettings(const QByteArray &text);
QByteArray displaySettingsText(const DisplaySettings &settings);

} // namespace vorlac
