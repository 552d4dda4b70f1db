// Arbitrary bytes as a situation file: parsing never fails unsafely, an accepted situation is
// valid and stores again, and storing what was read back gives the same bytes.
#include "situations/situation.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const vorlac::SituationResult first = vorlac::parseSituation(bytes);
    if (first.situation.has_value() != (first.failure == vorlac::SituationFailure::None))
        std::abort();
    if (!first.situation)
        return 0;
    if (!vorlac::isValidSituation(*first.situation))
        std::abort();
    const std::optional<QByteArray> stored = vorlac::serialiseSituation(*first.situation);
    // The extended layout adds the lit lamp's record, the unknown lamp's, the glass's and "FIN".
    const vorlac::SceneState &s = first.situation->scene;
    const int added = vorlac::usesExtendedLayout(s)
                          ? 1 + int(!s.lampHidden && (s.source == vorlac::SourceType::LineLamp || s.unknownLamp >= 0)) +
                                int(vorlac::drawnUnknownLamp(s) >= 0) + int(s.glass >= 0)
                          : 0;
    if (!stored || stored->size() != qsizetype(vorlac::situationRecordCount(first.situation->rowCount()) + added) * 128)
        std::abort();
    const vorlac::SituationResult second = vorlac::parseSituation(*stored);
    if (!second.situation)
        std::abort();
    // Texts come back as they were; numbers once rounded to their digits stay put.
    const vorlac::Situation &a = *first.situation, &b = *second.situation;
    const vorlac::SceneState &sa = a.scene, &sb = b.scene;
    if (a.titles != b.titles || a.lines != b.lines || a.formulas != b.formulas || sa.apexAngle != sb.apexAngle ||
        sa.prismMaterial != sb.prismMaterial || sa.outsideMaterial != sb.outsideMaterial || sa.source != sb.source ||
        sa.blackBackground != sb.blackBackground || sa.wavelength != sb.wavelength ||
        sa.showPropagation != sb.showPropagation || sa.showNormals != sb.showNormals || sa.lamp != sb.lamp ||
        sa.lampHidden != sb.lampHidden || sa.unknownLamp != sb.unknownLamp || sa.glass != sb.glass ||
        sa.glassHidden != sb.glassHidden ||
        (sa.glass >= 0 && (sa.prismCauchyA != sb.prismCauchyA || sa.prismCauchyB != sb.prismCauchyB)))
        std::abort();
    if (vorlac::serialiseSituation(b) != stored)
        std::abort();
    return 0;
}
