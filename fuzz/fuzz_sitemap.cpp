// Arbitrary bytes as a help contents (.hhc) or index (.hhk) file: the reader ends, keeps to its
// limits, and every entry it keeps has a name.
#include "help/sitemap.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QList<vorlac::SitemapItem> items = vorlac::parseSitemap(bytes);
    if (items.size() > vorlac::kMaxSitemapItems)
        std::abort();
    for (const vorlac::SitemapItem &item : items) {
        if (item.name.isEmpty() || item.depth < 0 || item.depth > vorlac::kMaxSitemapDepth)
            std::abort();
    }
    // Undecodable bytes fall back to the code page, which maps every byte to one character.
    if (vorlac::decodeHelpText(bytes).isEmpty() != bytes.isEmpty())
        std::abort();
    return 0;
}
