#pragma once

#include <QTextBrowser>

namespace vorlac
{

class ChmFile;

// A text browser whose pages, pictures and style sheets come from one compiled-HTML file.
// Pages are addressed as "chm:/path/page.html", so relative links resolve inside the archive.
class ChmBrowser : public QTextBrowser
{
    Q_OBJECT
  public:
    ChmBrowser(const ChmFile &file, QWidget *parent = nullptr);
    QVariant loadResource(int type, const QUrl &name) override;

    static QUrl pageUrl(const QString &path);

  private:
    const ChmFile &m_file;
};

} // namespace vorlac
