#include "rtf/rtf.h"

#include "rtf/rtfparser.h"

namespace vorlac
{

bool readRtf(const QByteArray &bytes, QTextDocument &document)
{
    // The whole file is read before the document is touched.
    const std::optional<RtfContent> content = parseRtf(bytes);
    if (!content)
        return false;
    buildRtfDocument(*content, document);
    return true;
}

bool rtfReadsBack(const QByteArray &bytes)
{
    return parseRtf(bytes).has_value();
}

} // namespace vorlac
