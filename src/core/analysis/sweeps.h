#pragma once

#include "model/scenestate.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace vorlac
{

// A series of measurements computed in one go ("Balayage"), ready for the table: titled columns
// and at most kMaxLines lines; cut says how many more the series had.
struct Sweep {
    static constexpr int kMaxLines = 100;
    QStringList titles;
    std::vector<std::vector<double>> lines; // one value per title
    int cut = 0;                            // lines left out past kMaxLines
    QString problem;                        // why the series is empty, in French
};

// D against i for the wavelength lambda: i from the limit incidence for emergence (or -90 when
// every incidence emerges) to 90 degrees by step, the deviation as the tracer draws it; the first
// line is the limit itself (the last, when the outside is the denser). Lines where the ray does
// not go straight out are left out.
Sweep deviationSweep(const SceneState &state, double lambda, double step);

// lambda, D_min and n for every line of the state's lamp: the minimum of deviation the tracer
// finds, and the relative index computed from it as the pupil would. A hidden lamp's lines are
// numbered 1, 2, ... instead: their wavelengths are what the pupil has to find.
Sweep lampSweep(const SceneState &state);

// The same for a continuous source, every kSpectrumStep nm from 400 to 800 nm (41 lines).
inline constexpr int kSpectrumStep = 10;
Sweep spectrumSweep(const SceneState &state);

// The French sentence that tells the pupil the series was cut; empty when it was not.
QString sweepCutMessage(const Sweep &sweep);

} // namespace vorlac
