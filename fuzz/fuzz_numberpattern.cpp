// An arbitrary display pattern and value: the writer ends with a short text of digits, sign,
// separator and exponent only (an infinity's name past the single range of the general form),
// never empty, and the general form of a single reads back as a number.
#include "common/numberpattern.h"
#include "common/regional.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QLocale french(QLocale::French, QLocale::France);
    if (size < sizeof(double))
        return 0;
    double value = 0;
    std::memcpy(&value, data, sizeof value);
    const QString pattern = QString::fromLatin1(reinterpret_cast<const char *>(data) + sizeof value,
                                                static_cast<qsizetype>(size - sizeof value));
    const QString text = vorlac::formatNumberPattern(value, pattern, french);
    if (text.isEmpty())
        std::abort();
    // The empty pattern writes the single-precision value: beyond its range, an infinity.
    const bool written = std::isfinite(value) && (!pattern.isEmpty() || std::abs(value) <= FLT_MAX);
    if (written) {
        for (const QChar c : text) {
            if (!(c >= u'0' && c <= u'9') && c != u',' && c != u'-' && c != u'+' && c != u'E' && c != u'e')
                std::abort();
        }
        // Digits are bounded by the pattern and the value's magnitude (at most 309 before the point).
        if (text.size() > 2 * pattern.size() + 330)
            std::abort();
        if (std::abs(value) <= FLT_MAX && !vorlac::readRegionalSingle(vorlac::generalSingleText(value, french), french))
            std::abort();
    } else if (text != u"NaN" && text != u"Inf" && text != u"-Inf") {
        std::abort();
    }
    return 0;
}
