// Evaluates arbitrary bytes in both angle modes and checks the engine's promises: an error code
// in range, and on success a single finite number text or nothing.
#include "common/numbertext.h"
#include "expr/expression.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{

void check(const QString &input, int angleMode)
{
    QString text = input;
    int error = -1;
    vorlac::EvaluateExpression(text, error, angleMode);
    if (error < 0 || error > 3)
        std::abort();
    if (error == 0 && !text.isEmpty() && !(vorlac::isDotNumber(text) && std::isfinite(vorlac::readDotNumber(text))))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto *chars = reinterpret_cast<const char *>(data);
    const QString latin1 = QString::fromLatin1(chars, qsizetype(size));
    check(latin1, 0);
    check(latin1, vorlac::AngleRadians);
    check(QString::fromUtf8(chars, qsizetype(size)), 0);
    return 0;
}
