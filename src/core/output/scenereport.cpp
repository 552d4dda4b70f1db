#include "output/scenereport.h"

#include "analysis/measuretexts.h"
#include "model/glasscatalogue.h"
#include "model/materials.h"
#include "model/scenetexts.h"

namespace vorlac
{

ReportTexts sceneReportTexts(const SceneState &s)
{
    return {s.source,
            wavelengthText(s.wavelength),
            apexText(s.apexAngle),
            prismMaterialText(s),
            prismIndexHidden(s) ? QStringLiteral("n = ?") : indexText(scenePrismIndex(s, s.wavelength)),
            materialName(s.outsideMaterial),
            indexText(sceneOutsideIndex(s, s.wavelength)),
            s.source == SourceType::LineLamp ? lampTitle(s) : QString()};
}

} // namespace vorlac
