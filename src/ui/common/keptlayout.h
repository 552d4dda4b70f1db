#pragma once

#include <QFont>
#include <QStaticText>
#include <QString>
#include <QTransform>

namespace vorlac
{

// Words kept laid out until they or their font change: a lamp step mostly leaves a caption as it
// was, and laying words out costs as much as drawing them.
class KeptLayout
{
  public:
    // transform: the painter's, to device pixels, which the glyphs are placed for.
    const QStaticText &of(const QString &text, const QFont &font, const QTransform &transform);

  private:
    QStaticText m_layout;
    QFont m_font;
    QTransform m_transform;
};

} // namespace vorlac
