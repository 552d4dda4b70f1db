#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace vorlac
{

// One entry of a contents (.hhc) or index (.hhk) file: its text, the page it opens, and how
// deep it sits in the nested lists (0 at the top).
struct SitemapItem {
    QString name;
    QString local;
    int depth = 0;
    bool operator==(const SitemapItem &) const = default;
};

inline constexpr int kMaxSitemapItems = 20000;
inline constexpr int kMaxSitemapDepth = 32;

// Reads the <OBJECT type="text/sitemap"> entries of a sitemap file, in order. Tolerant of the
// loose HTML help compilers write; never more than kMaxSitemapItems entries, depth capped.
QList<SitemapItem> parseSitemap(const QByteArray &bytes);

// Text of a help file's bytes: UTF-8 when it is valid UTF-8, else Windows-1252.
QString decodeHelpText(const QByteArray &bytes);

} // namespace vorlac
