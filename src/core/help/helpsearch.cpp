#include "help/helpsearch.h"

#include "help/sitemap.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>

#include <algorithm>

namespace vorlac
{

QStringList HelpSearchIndex::words(const QString &text)
{
    const QString folded = text.toLower().normalized(QString::NormalizationForm_KD);
    QStringList out;
    QString word;
    const auto flush = [&] {
        if (!word.isEmpty())
            out.append(word);
        word.clear();
    };
    for (const QChar c : folded) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c == u'œ')
            word += u"oe";
        else if (c == u'æ')
            word += u"ae";
        else if (c.isLetterOrNumber())
            word += c;
        else
            flush();
    }
    flush();
    return out;
}

QString HelpSearchIndex::pageTitle(const QString &html)
{
    static const QRegularExpression title(QStringLiteral("<title[^>]*>(.*?)</title>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = title.match(html);
    return m.hasMatch() ? QTextDocumentFragment::fromHtml(m.captured(1)).toPlainText().simplified() : QString();
}

void HelpSearchIndex::addPage(const QString &path, const QByteArray &html)
{
    const QString text = decodeHelpText(html);
    Page page;
    page.path = path;
    page.title = pageTitle(text);
    if (page.title.isEmpty())
        page.title = path.section(u'/', -1);
    for (const QString &w : words(QTextDocumentFragment::fromHtml(text).toPlainText()))
        ++page.counts[w];
    m_pages.append(std::move(page));
}

QList<HelpSearchIndex::Hit> HelpSearchIndex::search(const QString &query) const
{
    const QStringList wanted = words(query);
    QList<Hit> hits;
    if (wanted.isEmpty())
        return hits;
    for (const Page &page : m_pages) {
        int score = 0;
        bool all = true;
        for (const QString &w : wanted) {
            int n = 0;
            for (auto it = page.counts.cbegin(); it != page.counts.cend(); ++it) {
                if (it.key().startsWith(w))
                    n += it.value();
            }
            if (n == 0) {
                all = false;
                break;
            }
            score += n;
        }
        if (all)
            hits.append({page.path, page.title, score});
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) {
        return a.score != b.score ? a.score > b.score : a.title.localeAwareCompare(b.title) < 0;
    });
    return hits;
}

} // namespace vorlac
