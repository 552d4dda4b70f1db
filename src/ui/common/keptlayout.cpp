#include "common/keptlayout.h"

#include <QTransform>

namespace vorlac
{

const QStaticText &KeptLayout::of(const QString &text, const QFont &font)
{
    if (m_layout.text() != text || m_font != font) {
        m_layout = QStaticText(text);
        m_layout.setTextFormat(Qt::PlainText);
        m_layout.prepare(QTransform(), font);
        m_font = font;
    }
    return m_layout;
}

} // namespace vorlac
