#pragma once

#include <QFont>
#include <QStaticText>
#include <QString>

namespace vorlac
{

// `kept` holding `text` laid out in `font`, laid out again only when the text changed: a lamp
// step mostly leaves a caption as it was, and laying words out costs as much as drawing them.
const QStaticText &laidOut(QStaticText &kept, const QString &text, const QFont &font);

} // namespace vorlac
