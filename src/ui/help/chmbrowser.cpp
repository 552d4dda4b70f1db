#include "help/chmbrowser.h"

#include "help/chmfile.h"
#include "help/sitemap.h"

#include <QTextDocument>

namespace vorlac
{

ChmBrowser::ChmBrowser(const ChmFile &file, QWidget *parent) : QTextBrowser(parent), m_file(file)
{
    setObjectName(QStringLiteral("page"));
    setOpenExternalLinks(false);
    setOpenLinks(true);
}

QUrl ChmBrowser::pageUrl(const QString &path)
{
    QUrl url;
    url.setScheme(QStringLiteral("chm"));
    url.setPath(ChmFile::normalisePath(path));
    return url;
}

QVariant ChmBrowser::loadResource(int type, const QUrl &url)
{
    // Names come as written in the page; relative ones are relative to the page shown.
    const QUrl name = url.isRelative() && source().isValid() ? source().resolved(url) : url;
    // Only the archive is ever read: no other scheme reaches the disk or the network.
    if (!name.scheme().isEmpty() && name.scheme() != u"chm")
        return type == QTextDocument::HtmlResource
                   ? QVariant(tr("<p>Ce lien mène hors de l'aide : il ne peut pas être ouvert ici.</p>"))
                   : QVariant();
    const std::optional<QByteArray> bytes = m_file.read(name.path());
    if (!bytes) {
        if (type == QTextDocument::HtmlResource)
            return QStringLiteral("<h1>Page introuvable</h1><p>La page « %1 » n'existe pas dans ce fichier d'aide.</p>")
                .arg(name.path().toHtmlEscaped());
        return {};
    }
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
        return decodeHelpText(*bytes);
    return *bytes;
}

} // namespace vorlac
