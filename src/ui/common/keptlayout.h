#pragma once

#include <QFont>
#include <QStaticText>
#include <QString>

namespace vorlac
{

// Words kept laid out until they or their font change: a lamp step mostly leaves a caption as it
// was, and laying words out costs as much as drawing them.
class KeptLayout
{
  public:
    const QStaticText &of(const QString &text, const QFont &font);

  private:
    QStaticText m_layout;
    QFont m_font;
};

} // namespace vorlac
