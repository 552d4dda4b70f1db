#include "common/keptlayout.h"

#include <QTransform>

namespace vorlac
{

const QStaticText &laidOut(QStaticText &kept, const QString &text, const QFont &font)
{
    if (kept.text() != text) {
        kept = QStaticText(text);
        kept.setTextFormat(Qt::PlainText);
        kept.prepare(QTransform(), font);
    }
    return kept;
}

} // namespace vorlac
