#pragma once

#include "spectra/absorbers.h"
#include "spectra/observedspectrum.h"
#include "spectra/screen.h"
#include "spectra/sources.h"

#include <QString>

namespace vorlac
{

// What the user chose for the screen: whether it stands in the scene, where, whether the Sun
// lights the prism in place of the scene's source, and what absorbs between lamp and prism.
struct ScreenSettings {
    bool shown = false;
    ScreenPlacement placement;
    bool sun = false;
    Absorber absorber;
    bool operator==(const ScreenSettings &) const = default;
};

// The settings with the placement within its limits and an absorber the lists know (none
// otherwise).
ScreenSettings settingsWithinLimits(ScreenSettings settings);

// The light the screen shows: the Sun when chosen, the scene's source otherwise.
ScreenSource screenSourceOf(const SceneState &state, const ScreenSettings &settings);

// The row of absorberChoices() that names the absorber; -1 when it is hidden (or unknown).
int absorberChoiceRow(const Absorber &absorber);
// The hidden absorber a draw (any number, from a random generator) stands for: one of the gases
// and filters of absorberChoices(), never "none".
Absorber unknownAbsorber(quint32 draw);

// The cursor's read-out: "x = 12,5 mm ; λ = 589,0 nm", or "x = 12,5 mm" alone when no wavelength
// is given (hidden lamp or absorber, nothing landing there). The position shows as many decimals
// (1 to 3) as tell one strip pixel of pixelMm from the next.
QString cursorReadingText(const CursorReading &reading, double pixelMm);

// The line the cursor is on: the nearest of lines (in increasing position, as
// ScreenSpectrum::lines gives them) within reachMm of the position; -1 when none.
int lineAt(const std::vector<ObservedLine> &lines, double positionMm, double reachMm);
// The nearest line beyond the position, towards higher positions (direction > 0) or lower ones,
// leaving out those within reachMm (the one the cursor is on); -1 when none.
int nextLine(const std::vector<ObservedLine> &lines, double positionMm, int direction, double reachMm);
// What a line is, as the read-out adds it: "raie sombre D2, 589,0 nm", "raie brillante, 435,8 nm";
// its rank among the lines of its kind when its wavelength is hidden: "raie brillante n° 3".
QString observedLineText(const ObservedLine &line);

// The stretch of the screen a strip shows after a zoom by factor (> 1 enlarges) about the
// position aroundMm, which stays where it was in the strip. It never shows more than whole
// (the spectrum's default stretch) nor less than kStripNarrowestMm, and stays inside whole.
inline constexpr double kStripNarrowestMm = 0.5;
StripRange zoomedRange(const StripRange &range, double factor, double aroundMm, const StripRange &whole);

} // namespace vorlac
