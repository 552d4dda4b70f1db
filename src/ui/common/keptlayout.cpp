#include "common/keptlayout.h"

namespace vorlac
{

const QStaticText &KeptLayout::of(const QString &text, const QFont &font, const QTransform &transform)
{
    if (m_layout.text() != text || m_font != font || m_transform != transform) {
        m_layout = QStaticText(text);
        m_layout.setTextFormat(Qt::PlainText);
        m_layout.prepare(transform, font);
        m_font = font;
        m_transform = transform;
    }
    return m_layout;
}

} // namespace vorlac
