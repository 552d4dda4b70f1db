// Arbitrary bytes as an RTF statement: reading never fails unsafely, and what an accepted file
// gives writes out as RTF that reads again to the same text and writes the very same bytes.
#include "rtf/rtf.h"

#include <QTextBlock>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{

QStringList blockTexts(const QTextDocument &doc)
{
    QStringList texts;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        texts << b.text();
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QTextDocument first;
    first.setPlainText(QStringLiteral("avant"));
    if (!vorlac::readRtf(bytes, first)) {
        // A refused file leaves the document alone.
        if (first.toPlainText() != QStringLiteral("avant"))
            std::abort();
        return 0;
    }
    const QByteArray written = vorlac::writeRtf(first);
    QTextDocument second;
    if (!vorlac::readRtf(written, second))
        std::abort();
    if (blockTexts(first) != blockTexts(second))
        std::abort();
    if (vorlac::writeRtf(second) != written)
        std::abort();
    return 0;
}
