#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace vorlac
{

// Full-text search over the pages of a help file. Words are compared folded: lower case,
// without accents, "œ" as "oe"; a query word matches every word it begins ("réfract" finds
// "réfraction"), and a page matches when it holds every word of the query.
class HelpSearchIndex
{
  public:
    struct Hit {
        QString path;
        QString title;
        int score = 0; // occurrences of the query words
    };

    void addPage(const QString &path, const QByteArray &html);
    QList<Hit> search(const QString &query) const;
    int pageCount() const { return static_cast<int>(m_pages.size()); }

    static QStringList words(const QString &text);

  private:
    static QString pageTitle(const QString &html);
    struct Page {
        QString path;
        QString title;
        QHash<QString, int> counts;
    };
    QList<Page> m_pages;
};

} // namespace vorlac
