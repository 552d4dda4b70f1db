// Arbitrary text as a table cell or dialog field, under French and English settings: a number
// read is finite and its shortest text reads back to the very same float; the key filter gives
// only what a field may hold.
#include "common/regional.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{

void check(const QString &text, const QLocale &locale)
{
    const std::optional<float> value = vorlac::readRegionalSingle(text, locale);
    if (value) {
        if (!std::isfinite(*value))
            std::abort();
        const std::optional<float> back =
            vorlac::readRegionalSingle(vorlac::shortestSingleText(*value, locale), locale);
        // Negative zero is written "0".
        if (!back || *back != *value)
            std::abort();
    }
    const QChar separator = vorlac::regionalDecimalSeparator(locale);
    for (const QChar typed : QStringView(text).left(8)) {
        const QChar kept = vorlac::regionalKeyFilter(typed, locale, true);
        if (!kept.isNull() && !(kept >= u'0' && kept <= u'9') && kept != separator && kept != u'-' &&
            kept != QChar(8) && kept != QChar(13))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QLocale french(QLocale::French, QLocale::France);
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    check(text, french);
    check(text, english);
    // The first four bytes as a float: every finite float's shortest text reads back unchanged.
    if (size >= 4) {
        float f = 0;
        std::memcpy(&f, data, sizeof f);
        if (std::isfinite(f)) {
            for (const QLocale &locale : {french, english}) {
                const std::optional<float> back =
                    vorlac::readRegionalSingle(vorlac::shortestSingleText(f, locale), locale);
                if (!back || *back != f)
                    std::abort();
            }
        }
    }
    return 0;
}
