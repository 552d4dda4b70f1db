#include "help/sitemap.h"

#include "common/codepage1252.h"

#include <QStringDecoder>
#include <QTextDocumentFragment>

namespace vorlac
{

namespace
{

// Value of attribute `name` inside one tag's text ("param name=Local value=\"a.html\"").
QString attribute(QStringView tag, QStringView name)
{
    qsizetype pos = 0;
    while (pos < tag.size()) {
        const qsizetype at = tag.indexOf(name, pos, Qt::CaseInsensitive);
        if (at < 0)
            return {};
        qsizetype k = at + name.size();
        const bool boundary = at == 0 || tag[at - 1].isSpace();
        while (k < tag.size() && tag[k].isSpace())
            ++k;
        if (!boundary || k >= tag.size() || tag[k] != u'=') {
            pos = at + name.size();
            continue;
        }
        ++k;
        while (k < tag.size() && tag[k].isSpace())
            ++k;
        if (k >= tag.size())
            return {};
        QString value;
        if (tag[k] == u'"' || tag[k] == u'\'') {
            const QChar quote = tag[k];
            const qsizetype end = tag.indexOf(quote, k + 1);
            value = tag.mid(k + 1, end < 0 ? -1 : end - k - 1).toString();
        } else {
            qsizetype end = k;
            while (end < tag.size() && !tag[end].isSpace())
                ++end;
            value = tag.mid(k, end - k).toString();
        }
        // Entities such as &amp; or &eacute; in a name.
        if (value.contains(u'&'))
            value = QTextDocumentFragment::fromHtml(value).toPlainText();
        return value;
    }
    return {};
}

} // namespace

QString decodeHelpText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return fromCp1252(bytes);
}

QList<SitemapItem> parseSitemap(const QByteArray &bytes)
{
    const QString text = decodeHelpText(bytes);
    QList<SitemapItem> items;
    int depth = -1; // the outer <UL> brings it to 0
    bool inObject = false;
    SitemapItem current;
    qsizetype pos = 0;
    while (pos < text.size() && items.size() < kMaxSitemapItems) {
        const qsizetype open = text.indexOf(u'<', pos);
        if (open < 0)
            break;
        qsizetype close = text.indexOf(u'>', open + 1);
        if (close < 0)
            close = text.size();
        const QStringView tag = QStringView(text).mid(open + 1, close - open - 1).trimmed();
        pos = close + 1;
        if (tag.startsWith(u"!--")) {
            const qsizetype end = text.indexOf(u"-->", open + 4);
            pos = end < 0 ? text.size() : end + 3;
            continue;
        }
        qsizetype nameEnd = 0;
        while (nameEnd < tag.size() && !tag[nameEnd].isSpace() && tag[nameEnd] != u'/')
            ++nameEnd;
        if (nameEnd == 0 && tag.startsWith(u'/')) {
            nameEnd = 1;
            while (nameEnd < tag.size() && !tag[nameEnd].isSpace())
                ++nameEnd;
        }
        const QString name = tag.left(nameEnd).toString().toLower();
        if (name == u"ul") {
            depth = std::min(depth + 1, kMaxSitemapDepth);
        } else if (name == u"/ul") {
            depth = std::max(depth - 1, -1);
        } else if (name == u"object") {
            inObject = attribute(tag, u"type").compare(u"text/sitemap", Qt::CaseInsensitive) == 0;
            current = SitemapItem{};
            current.depth = std::max(depth, 0);
        } else if (name == u"param" && inObject) {
            const QString param = attribute(tag, u"name");
            const QString value = attribute(tag, u"value");
            if (param.compare(u"Name", Qt::CaseInsensitive) == 0 && current.name.isEmpty())
                current.name = value;
            else if (param.compare(u"Local", Qt::CaseInsensitive) == 0 && current.local.isEmpty())
                current.local = value;
        } else if (name == u"/object") {
            if (inObject && !current.name.isEmpty())
                items.append(current);
            inObject = false;
        }
    }
    return items;
}

} // namespace vorlac
